#!/usr/bin/env bash
# Lists the functions of src, bench and tools longer than a limit (80 lines unless given),
# longest first, and exits 1 when there is one: long functions hide what they do.
# Usage: tools/function_lengths.sh [LIMIT]
set -euo pipefail
cd "$(dirname "$0")/.."
limit=${1:-80}
ctags --languages=C++ --kinds-C++=f --fields=+ne -R -o - src bench tools |
  awk -F'\t' -v limit="$limit" '
    { s = ""; e = ""
      for (i = 4; i <= NF; i++) {
        if ($i ~ /^line:/) s = substr($i, 6)
        if ($i ~ /^end:/) e = substr($i, 5)
      }
      if (s != "" && e != "" && e - s + 1 > limit) { print e - s + 1, $2 ":" s, $1; found = 1 }
    }
    END { exit found ? 1 : 0 }' | sort -rn
exit "${PIPESTATUS[1]}"
