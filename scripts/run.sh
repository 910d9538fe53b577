#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on FILE (by default a sample define file).
#   scripts/run.sh [FILE]
set -euo pipefail
# A relative FILE is the caller's: resolve it before leaving the caller's folder. Options and a
# server-mode line (key=value pairs) pass unchanged.
file=
if [ $# -gt 0 ]; then
  case "$1" in /* | -* | *=*) file=$1 ;; *) file=$PWD/$1 ;; esac
fi
# No display: say so now, not after the build. (A DISPLAY with no server is told by the editor.)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: set DISPLAY (for example run 'Xvfb :99 & export DISPLAY=:99') and run this again." >&2
  exit 2
fi
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
exec ./build/plendor "${file:-$PWD/samples/Bill.xml}"
