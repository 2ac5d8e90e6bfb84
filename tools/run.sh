#!/usr/bin/env bash
# Sets up, builds and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh run
if [ -x build/bin/mirado-shogi ]; then
  exec build/bin/mirado-shogi "$@"
fi
# The window is not built yet: show what the command-line tool does.
exec build/bin/mirado-cli "$@"
