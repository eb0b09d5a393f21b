#!/usr/bin/env bash
# Sets everything up, builds with the address and undefined-behaviour sanitizers and runs
# every test; then builds the packages from the release build and checks them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh sanitize
ctest --preset sanitize -j "$(nproc)"
scripts/package.sh
ctest --preset package
