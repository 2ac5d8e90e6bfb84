#!/usr/bin/env bash
# Sets up, builds and runs the tests tier by tier (ctest labels; the README lists them).
#   tools/test.sh          every tier of the normal build (MIRADO_LONG=1 adds the long
#                          soak), then the same tests built with clang's AddressSanitizer
#                          and UndefinedBehaviorSanitizer (build-asan), then each fuzz
#                          target, built in that same tree, for MIRADO_FUZZ_SECONDS (60)
#   tools/test.sh --quick  the fast tiers of the normal build only
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
[ "${1:-}" = "--quick" ] && quick=1
tools/setup.sh test
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# Qt wants a private runtime directory; a fresh machine may have none.
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
fi
fast='unit|app|cli|golden|soak|window'
step() { echo "== $* (at ${SECONDS} s)"; }

if [ "$quick" = 1 ]; then
  step "fast tiers ($fast): no real window, no package, no sanitizers, no fuzzing"
  ctest --test-dir build --output-on-failure -j2 -L "$fast" -LE long
  exit 0
fi

# The real window measures its own timing, so it runs at normal priority beside everything
# else, which runs niced and yields the processors to it; its report comes at the end.
step "screen tier (build), beside the rest"
screen_log=$(mktemp)
ctest --test-dir build --output-on-failure -j2 -L screen >"$screen_log" 2>&1 &
screen_pid=$!
screen_report() {
  local status=0
  wait "$screen_pid" || status=$?
  step "screen tier (build): exit $status"
  cat "$screen_log"
  rm -f "$screen_log"
  return "$status"
}
trap 'screen_report || true' EXIT

step "every other tier (build)"
# Three at a time: the three kinds of the long soak are the longest, and run together.
nice -n 19 ctest --test-dir build --output-on-failure -j3 -LE screen

step "sanitizers, clang (build-asan): tiers $fast"
CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRADO_SANITIZE=ON \
  -DMIRADO_BENCH=OFF >/dev/null
nice -n 19 cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  nice -n 19 ctest --test-dir build-asan --output-on-failure -j2 -L "$fast" -LE long

step "fuzzing (build-asan)"
FUZZ_JOBS=3 nice -n 19 tools/fuzz.sh "${MIRADO_FUZZ_SECONDS:-60}"

trap - EXIT
screen_report
step "done"
