#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Corvane needs.
# Idempotent: it returns at once when everything is present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev qt6-qpa-plugins
    libqt6svg6 qt6-translations-l10n fonts-dejavu-core xvfb xauth xdg-utils poppler-utils
    dpkg-dev file desktop-file-utils appstream libxml2-utils shared-mime-info libfile-mimeinfo-perl
    libsodium-dev openssl python3
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
