#!/usr/bin/env bash
# Builds the Debian package once from the build folder into a temporary folder and reads it with
# dpkg-deb: its name, control fields, file list, and the programs it holds.
#   debian_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack"; }
arch=$(dpkg --print-architecture)
deb=$work/plendor_${version}_${arch}.deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = plendor ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture"
depends=$(field Depends)
# Computed from the binaries, plus the plug-ins Qt loads at run time.
# The patched editing component is built into the programs unless the system's was chosen.
qscintilla="libqscintilla2-qt6-[0-9]+"
if grep -q '^PLENDOR_SYSTEM_QSCINTILLA:BOOL=ON' "$build/CMakeCache.txt"; then
  system_qscintilla=$qscintilla
else
  system_qscintilla=
  ! grep -Eq "(^|, )$qscintilla( |,|$)" <<<"$depends" || fail "Depends names the system QScintilla: $depends"
fi
for package in libqt6core6 libqt6widgets6 $system_qscintilla libcurl4 libpcre2-16-0 libc6 \
               qt6-qpa-plugins libqt6svg6 libqt6sql6-odbc; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
recommends=$(field Recommends)
for package in tdsodbc fonts-wqy-microhei; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$recommends" || fail "Recommends lacks $package: $recommends"
done
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "Maintainer and Description"

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in ./usr/bin/plendor ./usr/bin/plendor-cli ./usr/share/plendor/KeyWord.txt \
            ./usr/share/applications/plendor.desktop ./usr/share/icons/hicolor/scalable/apps/plendor.svg \
            ./usr/share/man/man1/plendor.1.gz ./usr/share/man/man1/plendor-cli.1.gz; do
  grep -qx -- "$file" <<<"$files" || fail "the package lacks $file"
done
if [ -d "$build/highlighters" ] && [ -n "$(ls -A "$build/highlighters")" ]; then
  grep -q '^./usr/share/plendor/highlighters/.' <<<"$files" || fail "the package lacks the highlighters"
fi
! grep -Eq '^\./usr/(lib|include)/' <<<"$files" || fail "the package holds libraries or headers"

# The unpacked programs run from where they were unpacked.
dpkg-deb -x "$deb" "$work/root"
[ "$("$work/root/usr/bin/plendor-cli" --version | head -1)" = "plendor-cli $version" ] || fail "unpacked plendor-cli"
printf 'a<b' | "$work/root/usr/bin/plendor-cli" escape | grep -qx 'a&lt;b' || fail "unpacked plendor-cli escape"
echo "debian package: ok ($(du -k "$deb" | cut -f1) KiB)"
