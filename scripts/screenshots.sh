#!/usr/bin/env bash
# Draws every page of the window to PNG files: scripts/screenshots.sh [FOLDER] [WIDTHxHEIGHT ...]
# The program runs offscreen with settings of its own; set CORVANE_SETTINGS_HOME to a folder
# holding a Corvane settings file to show another language, colour scheme or units.
set -euo pipefail
cd "$(dirname "$0")/.."
folder="${1:-screenshots}"
shift || true
scripts/build.sh release >/dev/null
export XDG_CONFIG_HOME="${CORVANE_SETTINGS_HOME:-$(mktemp -d)}"
QT_QPA_PLATFORM=offscreen build/release/corvane-screenshots "$folder" "$@"
