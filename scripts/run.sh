#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on a sample define file.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: set DISPLAY (for example run 'Xvfb :99 & export DISPLAY=:99') and run this again." >&2
  exit 2
fi
exec ./build/plendor "${1:-$PWD/samples/Bill.xml}"
