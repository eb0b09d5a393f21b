#!/usr/bin/env bash
# Configures and builds one preset (default: release).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
# Compiler results are shared between checkouts of the project: paths are taken relative to
# the checkout.
export CCACHE_BASEDIR="$PWD"
cmake --preset "$preset" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake --build --preset "$preset" -j "$(nproc)"
