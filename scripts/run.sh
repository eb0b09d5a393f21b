#!/usr/bin/env bash
# Sets everything up, builds and starts Corvane. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release
exec build/release/corvane "$@"
