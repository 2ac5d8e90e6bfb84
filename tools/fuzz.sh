#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ in the clang sanitizer tree (build-asan, the one
# tools/test.sh tests) and runs each for SECONDS from a scratch copy of its seed corpus
# (the committed corpus never grows). Prints each target's executions; exits non-zero if
# any target crashed.
# Usage: tools/fuzz.sh SECONDS [TARGET...]   (targets: kifu sfen settei; default all)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: tools/fuzz.sh SECONDS [TARGET...]}
shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(kifu sfen settei)
jobs=${FUZZ_JOBS:-2}
for t in "${targets[@]}"; do
  [ -f fuzz/fuzz_"$t".cpp ] || { echo "no fuzz target '$t'" >&2; exit 2; }
done

CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRADO_SANITIZE=ON \
  -DMIRADO_BENCH=OFF >/dev/null
if ! grep -q '^CMAKE_CXX_COMPILER_ID:.*Clang\|^CMAKE_CXX_COMPILER:.*clang' build-asan/CMakeCache.txt; then
  echo "build-asan was configured with another compiler than clang; remove it and try again" >&2
  exit 2
fi
cmake --build build-asan -j2 --target "${targets[@]/#/fuzz_}"

# The targets write their files into a scratch directory under TMPDIR: memory when it can.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
work=$(mktemp -d "${TMPDIR:-/tmp}/mirado-fuzz-run-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p build-asan/artifacts

run_one() {
  local t=$1 dir=$work/$1
  mkdir -p "$dir/corpus" "$dir/artifacts"
  cp fuzz/corpus/"$t"/* "$dir/corpus/"
  local status=0
  build-asan/bin/fuzz_"$t" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/" "$dir/corpus" >"$dir/log" 2>&1 || status=$?
  echo "$status" >"$dir/status"
}

running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n; running=$((running - 1)); fi
done
wait

failed=0
for t in "${targets[@]}"; do
  dir=$work/$t
  status=$(cat "$dir/status")
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log" | tail -1)
  echo "fuzz_$t: ${execs:-?} executions in ${seconds} s (${rate:-?}/s), exit $status"
  if [ "$status" -ne 0 ]; then
    failed=1
    tail -n 60 "$dir/log"
    cp "$dir"/artifacts/* build-asan/artifacts/ 2>/dev/null || true
    echo "fuzz_$t failed; inputs kept in build-asan/artifacts/"
  fi
done
exit "$failed"
