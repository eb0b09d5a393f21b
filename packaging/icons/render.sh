#!/usr/bin/env bash
# Renders the PNG icons of every hicolor size from the SVG drawings (needs librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$size"
    for icon in corvane application-x-corvane-job; do
        rsvg-convert -w "$size" -h "$size" "$icon.svg" -o "$size/$icon.png"
    done
done
