#!/usr/bin/env bash
# Fetches Debian's own source of the QScintilla version installed here, applies our patches
# (third_party/qscintilla/patches/) and leaves the result in .deps/qscintilla/, which the build
# compiles into a static library. Does nothing when that folder already holds this version with
# these patches. Needs root (apt) on Debian. A failure prints one line naming what failed and
# leaves .deps/qscintilla/ as it was: the new tree is made in a temporary folder and moved into
# place only when complete.
set -euo pipefail
cd "$(dirname "$0")/.."

package=libqscintilla2-qt6-dev
source_package=qscintilla2
patch_dir=third_party/qscintilla/patches
dest=.deps/qscintilla
src_list=/etc/apt/sources.list.d/plendor-src.sources

fail() { echo "fetch-qscintilla: $*" >&2; exit 1; }

version=$(dpkg-query -W -f='${Version}' "$package" 2>/dev/null) ||
  fail "$package is not installed, so the version to fetch is unknown"
[ -n "$version" ] || fail "$package is not installed, so the version to fetch is unknown"

# The stamp names the version and each patch's digest; the build compares it too.
stamp="version $version
$(cd "$patch_dir" && sha256sum [0-9]*.patch)"
if [ -f "$dest/.plendor-stamp" ] && [ "$(cat "$dest/.plendor-stamp")" = "$stamp" ]; then
  exit 0
fi

# Source entries for the same suites as the binary ones, in a file of our own.
if [ ! -f "$src_list" ]; then
  binary_list=/etc/apt/sources.list.d/debian.sources
  [ -f "$binary_list" ] || fail "no $binary_list to derive a deb-src entry from"
  sed -E 's/^Types:.*/Types: deb-src/' "$binary_list" >"$src_list.tmp"
  mv "$src_list.tmp" "$src_list"
  apt-get update -qq >/dev/null 2>&1 || { rm -f "$src_list"; fail "apt-get update failed after adding $src_list"; }
fi

mkdir -p .deps
work=$(mktemp -d .deps/.qscintilla.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/get"
(cd "$work/get" && apt-get source -qq "$source_package=$version") >"$work/log" 2>&1 ||
  fail "could not fetch Debian's source package $source_package=$version (see apt-get source)"
tree=$(find "$work/get" -mindepth 1 -maxdepth 1 -type d -name "$source_package-*" | head -n 1)
[ -n "$tree" ] && [ -f "$tree/src/qsciscintillabase.cpp" ] ||
  fail "Debian's source package $source_package=$version did not unpack as expected"

bash scripts/apply-patches.sh "$tree" "$patch_dir" || exit 1

printf '%s\n' "$stamp" >"$tree/.plendor-stamp"
rm -rf "$dest"
mv "$tree" "$dest"
echo "QScintilla $version source with $(ls "$patch_dir"/[0-9]*.patch | wc -l) patches in $dest"
