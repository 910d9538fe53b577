#!/usr/bin/env bash
# Builds the Debian package once from the build folder into a temporary folder and reads it as
# dpkg and a desktop would: its control fields, conffile and file list, the programs it holds,
# the file types its menu entry opens, and lintian at the pedantic level.
#   debian_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack"; }
arch=$(dpkg --print-architecture)
debs=("$work"/plendor_"$version"-*_"$arch".deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "no single plendor_$version-*_$arch.deb: $(ls "$work")"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
# A sanitizer or fuzzing build is not what is shipped: it keeps its paths and has no hardening, so
# the checks of the shipped bytes (paths, lintian) are for the hardened build only.
shipped=$(sed -n 's/^PLENDOR_HARDENING:BOOL=//p' "$build/CMakeCache.txt")
[ "$(field Package)" = plendor ] || fail "Package: $(field Package)"
[[ "$(field Version)" =~ ^$version-[0-9]+$ ]] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture"
depends=$(field Depends)
# Computed from the binaries, plus what Qt loads at run time, its Chinese texts and a CJK font.
# The patched editing component is built into the programs unless the system's was chosen.
qscintilla="libqscintilla2-qt6-[0-9]+"
if grep -q '^PLENDOR_SYSTEM_QSCINTILLA:BOOL=ON' "$build/CMakeCache.txt"; then
  system_qscintilla=$qscintilla
else
  system_qscintilla=
  ! grep -Eq "(^|, )$qscintilla( |,|$)" <<<"$depends" || fail "Depends names the system QScintilla: $depends"
fi
for package in libqt6core6 libqt6widgets6 $system_qscintilla libcurl4 libpcre2-16-0 libc6 qt6-qpa-plugins libqt6svg6 \
               libqt6sql6-odbc qt6-translations-l10n 'fonts-wqy-microhei \| fonts-noto-cjk'; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
# A shared QScintilla is a dependency exactly when the programs link it.
if readelf -d "$build/plendor" | grep -q 'NEEDED.*libqscintilla2'; then
  grep -Eq '(^|, )libqscintilla2-qt6-[0-9]+' <<<"$depends" || fail "Depends lacks the linked QScintilla: $depends"
else
  ! grep -q libqscintilla2 <<<"$depends" || fail "Depends names a QScintilla that is not linked: $depends"
fi
[ "$(field Recommends)" = tdsodbc ] || fail "Recommends: $(field Recommends)"
[ -n "$(field Maintainer)" ] || fail "Maintainer"

# The site's rule file is a conffile, so an administrator's edits survive an upgrade.
[ "$(dpkg-deb -I "$deb" conffiles)" = /etc/plendor/KeyWord.txt ] || fail "conffiles: $(dpkg-deb -I "$deb" conffiles)"

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in ./usr/bin/plendor ./usr/bin/plendor-cli ./etc/plendor/KeyWord.txt ./usr/share/plendor/KeyWord.txt \
            ./usr/share/applications/plendor.desktop ./usr/share/icons/hicolor/scalable/apps/plendor.svg \
            ./usr/share/mime/packages/plendor.xml ./usr/share/doc/plendor/copyright \
            ./usr/share/doc/plendor/changelog.Debian.gz \
            ./usr/share/man/man1/plendor.1.gz ./usr/share/man/man1/plendor-cli.1.gz; do
  grep -qx -- "$file" <<<"$files" || fail "the package lacks $file"
done
if [ -n "$(ls "$build"/highlighters/*.bin 2>/dev/null)" ]; then
  grep -q '^./usr/share/plendor/highlighters/.*\.bin$' <<<"$files" || fail "the package lacks the highlighters"
fi
! grep -Eq '^\./usr/(lib|include)/|CMakeFiles|\.cmake$' <<<"$files" || fail "the package holds libraries, headers or build files"

dpkg-deb -x "$deb" "$work/root"
cmp -s "$work/root/etc/plendor/KeyWord.txt" "$work/root/usr/share/plendor/KeyWord.txt" ||
  fail "the site's rule file is not the example rules"
[ "$(zcat "$work/root/usr/share/doc/plendor/changelog.Debian.gz" | head -1 | sed -n 's/^plendor (\([^)]*\)).*/\1/p')" = \
  "$(field Version)" ] || fail "the changelog's newest entry is not the package's version"

# Nothing in it depends on where or when it was built: no file names the build or source folder,
# and every file carries the changelog's date (SOURCE_DATE_EPOCH when the build was given one).
source=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
if [ "$shipped" = ON ]; then
  ! grep -rlaF -e "$build" -e "$source/" "$work/root" >"$work/paths.log" || fail "files name the build: $(cat "$work/paths.log")"
fi
date=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$source/packaging/changelog" -S Timestamp)}
dated=$(dpkg-deb --fsys-tarfile "$deb" | TZ=UTC tar -tv --full-time | awk '{print $4 "T" $5}' | sort -u)
[ "$dated" = "$(date -u -d "@$date" +%Y-%m-%dT%H:%M:%S)" ] || fail "files are not dated $date: $dated"

# The unpacked programs run from where they were unpacked.
[ "$("$work/root/usr/bin/plendor-cli" --version | head -1)" = "plendor-cli $version" ] || fail "unpacked plendor-cli"
printf 'a<b' | "$work/root/usr/bin/plendor-cli" escape | grep -qx 'a&lt;b' || fail "unpacked plendor-cli escape"

# As a desktop sees the installed package: the system's file types with ours, its menu entry and
# the menu entries of this machine. A define file opens in Plendor; plain XML and SQL do not.
xdg=$work/xdg
mkdir -p "$xdg/share/mime/packages" "$xdg/share/applications" "$xdg/home" "$xdg/config"
cp /usr/share/mime/packages/*.xml "$work/root/usr/share/mime/packages/plendor.xml" "$xdg/share/mime/packages/"
XDG_DATA_DIRS="$xdg/share" update-mime-database "$xdg/share/mime" >/dev/null
cp /usr/share/applications/*.desktop "$xdg/share/applications/" 2>/dev/null || true
cp "$work/root/usr/share/applications/plendor.desktop" "$xdg/share/applications/"
update-desktop-database "$xdg/share/applications"
printf '<?xml version="1.0" encoding="GBK"?>\r\n<!-- bills -->\r\n<defineSqls>\r\n<define name="a"><sql>select 1</sql></define>\r\n</defineSqls>\r\n' \
  >"$work/Bill.xml"
printf '<defineSqls><define name="a"/></defineSqls>' >"$work/bare.xml"
printf '<?xml version="1.0"?>\n<doc><p>a &lt; b</p></doc>\n' >"$work/doc.xml"
printf '<doc/>\n' >"$work/short.xml"
printf 'select * from t where a < b;\n' >"$work/q.sql"
desktop() {
  env -i PATH=/usr/bin:/bin HOME="$xdg/home" XDG_DATA_HOME="$xdg/home" XDG_CONFIG_HOME="$xdg/config" \
    XDG_DATA_DIRS="$xdg/share" XDG_CURRENT_DESKTOP=GNOME "$@"
}
for case in Bill.xml:yes bare.xml:yes doc.xml:no short.xml:no q.sql:no; do
  file=${case%%:*} expected=${case##*:}
  type=$(desktop xdg-mime query filetype "$work/$file")
  opener=$(desktop xdg-mime query default "$type")
  if [ "$expected" = yes ]; then
    [ "$type" = application/x-plendor-define+xml ] && [ "$opener" = plendor.desktop ] ||
      fail "$file is $type, opened by '$opener': not by Plendor"
  else
    [ "$opener" != plendor.desktop ] || fail "$file ($type) opens in Plendor"
  fi
done

# Lintian at the pedantic level, informational tags included. The overrides, in the package,
# hold only false positives, each with its reason; an override that no longer fires is reported.
if [ "$shipped" = ON ]; then
  lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$deb" >"$work/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$work/lintian.log")"
  ! grep -v '^running with root privileges is not recommended!$' "$work/lintian.log" || fail "lintian has remarks"
else
  echo "not the shipped build (PLENDOR_HARDENING is not ON): lintian and the path check skipped"
fi
echo "debian package: ok ($(du -k "$deb" | cut -f1) KiB)"
