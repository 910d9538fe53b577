#!/usr/bin/env bash
# Installs what building, running and testing the editor need (Debian 12, as root).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqscintilla2-qt6-dev libqt6sql6-odbc libqt6svg6
  libcurl4-openssl-dev libssl-dev libpcre2-dev
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei xvfb xauth xdotool
  help2man desktop-file-utils dpkg-dev man-db libxcb1-dev
  lintian xdg-utils shared-mime-info libglib2.0-bin qt6-translations-l10n
  postgresql postgresql-contrib odbc-postgresql unixodbc
  qt6-tools-dev libqt6opengl6-dev
  poppler-utils fonts-dejavu-core
  git
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# QScintilla is built from Debian's source of the installed version, with our patches.
bash "$(dirname "$0")/fetch-qscintilla.sh"
