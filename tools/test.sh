#!/usr/bin/env bash
# Sets up, builds and runs every test; then the same tests built with AddressSanitizer
# and UndefinedBehaviorSanitizer (build-asan), then every fuzz target for 60 s
# (build-fuzz). `tools/test.sh --quick` stops after the normal build's tests.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh test
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
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
