#!/usr/bin/env bash
# Builds the Debian package twice, in two build folders at different paths and without the
# compiler cache, and checks that both packages are the same bytes. Takes two full builds.
#   scripts/check-reproducible.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
work=$(mktemp -d)
# Kept when the packages differ, to be looked into.
trap '[ "${keep:-}" ] || rm -rf "$work"' EXIT
for folder in one/build two/nested/build; do
  CCACHE_DISABLE=1 cmake -S . -B "$work/$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
  CCACHE_DISABLE=1 ninja -C "$work/$folder" -j 2 plendor plendor-cli highlighters plendor_manpages plendor_changelog >/dev/null
  (cd "$work/$folder" && cpack -G DEB >/dev/null)
done
one=$(ls "$work"/one/build/plendor_*.deb) two=$(ls "$work"/two/nested/build/plendor_*.deb)
if cmp -s "$one" "$two"; then
  echo "reproducible: $(basename "$one") $(sha256sum <"$one" | cut -c1-16)"
else
  keep=1
  echo "NOT reproducible: $(basename "$one") differs between $work/one and $work/two" >&2
  # Which files differ, from the unpacked packages.
  dpkg-deb -R "$one" "$work/unpacked-one"
  dpkg-deb -R "$two" "$work/unpacked-two"
  diff -rq "$work/unpacked-one" "$work/unpacked-two" >&2 || true
  exit 1
fi
