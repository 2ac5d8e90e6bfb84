#!/usr/bin/env bash
# Sets up, builds and runs every test; then the same tests built with AddressSanitizer
# and UndefinedBehaviorSanitizer (build-asan), then every fuzz target for 60 s
# (build-fuzz). `tools/test.sh --quick` stops after the normal build's tests.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh test
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# Qt wants a private runtime directory; a fresh machine may have none.
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
fi
ctest --test-dir build --output-on-failure -j2
[ "${1:-}" = "--quick" ] && exit 0

echo "== sanitizers (build-asan)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRADO_SANITIZE=ON \
  -DMIRADO_BENCH=OFF >/dev/null
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2

echo "== fuzzing (build-fuzz)"
tools/fuzz.sh 60
