#!/usr/bin/env bash
# Plays the self-play records LEVEL5's static assessment is fitted to, then fits it
# (build/bin/mirado_fit_keisei prints the weights for src/engine/keisei.cpp).
#
#   tools/fit_keisei.sh DIR [GAMES] [NODES] [SEED]
#
# LEVEL5 plays itself from random openings (seeded), each opening with both colours, on
# both cores, in chunks of 100 games. One side reads NODES per search and the other three
# quarters of that, so that the two games of an opening differ. The run can be stopped and
# started again: chunks already finished in DIR are kept. The same seed gives the same
# records and the same fit.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:?usage: tools/fit_keisei.sh DIR [GAMES] [NODES] [SEED]}
games=${2:-2000}
nodes=${3:-2000}
seed=${4:-1}
cli=build/bin/mirado-cli
chunk=100
mkdir -p "$dir"
for ((c = 0; c * chunk < games; ++c)); do
  out="$dir/chunk-$c"
  [ -f "$out/done" ] && continue
  rm -rf "$out"
  mkdir -p "$out"
  "$cli" openings $((chunk / 2)) --seed $((seed * 100000 + c)) > "$out/openings.sfen"
  "$cli" match --a 5 --b 5 --a-nodes "$nodes" --b-nodes $((nodes * 3 / 4)) --jobs 2 --openings "$out/openings.sfen" \
    --pgn-like "$out/games" > "$out/result.json"
  touch "$out/done"
  echo "chunk $c: $(cat "$out/result.json" | head -c 200)" >&2
done
build/bin/mirado_fit_keisei "$dir" --seed "$seed"
