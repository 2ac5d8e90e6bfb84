#!/usr/bin/env bash
# Installs the Debian packages the project needs that are missing, then configures and
# builds it in ./build. Usage: tools/setup.sh [run|test]  (test adds the test tools).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
packages=(cmake ninja-build g++ pkg-config qt6-base-dev libxcb1-dev libsdl2-dev libsdl2-mixer-dev
          fonts-ipafont-mincho nlohmann-json3-dev libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
          librsvg2-bin)
if [ "$mode" = test ]; then
  packages+=(clang libclang-rt-14-dev xvfb xauth imagemagick openbox xdotool x11-utils
             dpkg-dev lintian desktop-file-utils appstream man-db universal-ctags)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
