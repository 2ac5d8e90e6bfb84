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

# The real window mostly waits on the X server, so its two halves run beside the rest.
step "every tier (build)"
ctest --test-dir build --output-on-failure -j4

step "sanitizers, clang (build-asan): tiers $fast"
CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRADO_SANITIZE=ON \
  -DMIRADO_BENCH=OFF >/dev/null
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2 -L "$fast" -LE long

step "fuzzing (build-asan)"
FUZZ_JOBS=3 tools/fuzz.sh "${MIRADO_FUZZ_SECONDS:-60}"
step "done"
