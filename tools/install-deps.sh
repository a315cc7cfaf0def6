#!/usr/bin/env bash
# Installs every Debian 12 package that the build, the programs and the tests need.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libqt6svg6 qt6-translations-l10n
    libsqlite3-dev libpq-dev libzip-dev libxlsxwriter-dev libqscintilla2-qt6-dev pxlib-dev libsodium-dev
    fonts-liberation2 fonts-wine breeze-icon-theme
    xvfb xauth poppler-utils imagemagick xdg-utils sqlite3
    postgresql postgresql-client
    dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
