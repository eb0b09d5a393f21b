#!/usr/bin/env bash
# Builds the program in the release build and packs it with CPack into build/release/packages/:
#   corvane_VERSION_ARCH.deb            the program in /opt/corvane with the desktop integration
#   corvane-VERSION-linux-ARCH.tar.gz   the portable program, run where it is unpacked
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build --preset release --target corvane -j "$(nproc)"
out=build/release/packages
rm -rf "$out"
cpack --config build/release/CPackConfig.cmake -B "$out" >/dev/null
rm -rf "$out/_CPack_Packages"
ls -l "$out"
