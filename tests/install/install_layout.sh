#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user gets: the layout without
# build leftovers, the menu entry and the file type it claims, the manual pages, and the installed
# programs working from a moved, read-only prefix while the source and build folders are out of
# reach, keeping their history in the user's folders.
#   install_layout.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
version=$3

work=$(mktemp -d)
cleanup() { chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
chmod 755 "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/stage" >/dev/null

# The layout.
for file in bin/plendor bin/plendor-cli share/plendor/KeyWord.txt share/applications/plendor.desktop \
            share/icons/hicolor/scalable/apps/plendor.svg share/man/man1/plendor.1.gz share/man/man1/plendor-cli.1.gz \
            share/mime/packages/plendor.xml share/doc/plendor/copyright share/doc/plendor/changelog.Debian.gz \
            share/lintian/overrides/plendor; do
  [ -f "$work/stage/$file" ] || fail "$file is not installed"
done
[ -x "$work/stage/bin/plendor" ] && [ -x "$work/stage/bin/plendor-cli" ] || fail "the programs are not executable"
cmp -s "$source/samples/KeyWord.txt" "$work/stage/share/plendor/KeyWord.txt" || fail "KeyWord.txt differs from the sample"
if [ -d "$build/highlighters" ]; then
  for built in "$build"/highlighters/*.bin; do
    cmp -s "$built" "$work/stage/share/plendor/highlighters/$(basename "$built")" ||
      fail "the installed $(basename "$built") differs from the built one"
  done
fi
# Nothing of the build itself, and nothing outside the prefix (the site's folder is the package's).
leftovers=$(cd "$work/stage" && find . -name CMakeFiles -o -name '*.cmake' -o -name CMakeCache.txt -o -name '*.ninja' |
            head -3)
[ -z "$leftovers" ] || fail "build leftovers are installed: $leftovers"
! grep -rqF -- "$build" "$work/stage/share" || fail "an installed data file names the build folder"
[ ! -e "$work/stage/etc" ] || fail "a prefix other than /usr got an etc folder"
for binary in plendor plendor-cli; do
  ! readelf -d "$work/stage/bin/$binary" | grep -E 'R(UN)?PATH' | grep -q "$build" ||
    fail "$binary still looks for libraries in the build folder"
done

# The menu entry: valid, starting the installed program with a file, under the installed icon.
desktop=$work/stage/share/applications/plendor.desktop
desktop-file-validate "$desktop" >"$work/validate.log" 2>&1 && [ ! -s "$work/validate.log" ] ||
  fail "desktop-file-validate rejects the menu entry or hints: $(cat "$work/validate.log")"
grep -qx 'Exec=plendor %f' "$desktop" || fail "Exec is not 'plendor %f'"
grep -qx 'Icon=plendor' "$desktop" || fail "the icon is not the installed plendor.svg"
grep -q '^Comment\[zh_CN\]=' "$desktop" && grep -q '^Comment=' "$desktop" || fail "a Chinese and an English comment"
grep -qx 'Categories=Development;' "$desktop" || fail "categories"
# Only define files: a plain XML or SQL file saved here would be rewritten escaped.
grep -qx 'MimeType=application/x-plendor-define+xml;' "$desktop" || fail "the menu entry claims other types"
mime=$work/stage/share/mime/packages/plendor.xml
python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1])' "$mime" || fail "the MIME package is not well-formed"
for part in 'type="application/x-plendor-define+xml"' '<sub-class-of type="application/xml"/>' 'value="&lt;defineSqls"'; do
  grep -qF "$part" "$mime" || fail "the MIME package lacks $part"
done
python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1])' "$work/stage/share/icons/hicolor/scalable/apps/plendor.svg" ||
  fail "the icon is not well-formed SVG"

# A moved installation finds its files relative to itself; the stage folder is gone.
mv "$work/stage" "$work/moved"
prefix=$work/moved
# A rule of our own in the installed rule file shows that plendor-cli read that file.
chmod u+w "$prefix/share/plendor/KeyWord.txt"
printf 'installedmarker|FOUND\r\n' >>"$prefix/share/plendor/KeyWord.txt"
mkdir -p "$work/elsewhere" "$work/home"
printf '<define name="a">select 1 where a<b and installedmarker</define>\r\n' >"$work/elsewhere/in.xml"
chmod -R a-w "$prefix"
# A writable program folder still gets no history: an installed program writes only the user's.
chmod 777 "$work/elsewhere" "$work/home" "$prefix/bin"

# Everything below runs with the source and build folders hidden when this system allows it
# (a private mount namespace, as root); otherwise only away from them.
cat >"$work/installed.sh" <<'INNER'
set -euo pipefail
work=$1 prefix=$2 version=$3 source=$4 build=$5
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ "$(id -u)" = 0 ] && mount -t tmpfs tmpfs "$source" 2>/dev/null; then
  case "$build" in "$source"/*) ;; *) mount -t tmpfs tmpfs "$build" ;; esac
  [ -z "$(ls -A "$source")" ] || fail "the source folder is still visible"
  echo "source and build folders hidden"
fi
cd "$work/elsewhere"
cli=$prefix/bin/plendor-cli

[ "$("$cli" --version | head -1)" = "plendor-cli $version" ] || fail "plendor-cli --version"
[ "$("$prefix/bin/plendor" --version | head -1)" = "plendor $version" ] || fail "plendor --version"
"$prefix/bin/plendor" --help | grep -q '^Usage: plendor' || fail "plendor --help"

# The help lists every command, each has its own help, and the manual page names them all.
commands=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
[ -n "$commands" ] || fail "plendor-cli --help lists no commands"
page=$(MANWIDTH=100 man -l "$prefix/share/man/man1/plendor-cli.1.gz" 2>/dev/null)
for command in $commands; do
  "$cli" "$command" --help | grep -q "^Usage: plendor-cli $command" || fail "plendor-cli $command --help"
  grep -q "^ *$command " <<<"$page" || fail "the manual page does not list $command"
done
grep -q 'KeyWord.txt' <<<"$page" || fail "the manual page does not name KeyWord.txt"
MANWIDTH=100 man -l "$prefix/share/man/man1/plendor.1.gz" 2>/dev/null | grep -q 'getHost=' || fail "plendor's manual page"
set +e; "$cli" --frobnicate 2>"$work/err"; code=$?; set -e
[ "$code" = 2 ] && [ "$(wc -l <"$work/err")" = 1 ] || fail "an unknown option gives exit 2 and one line"

# The installed plendor-cli converts a file with the installed rule file.
"$cli" escape in.xml -o "$work/home/out.xml"
grep -q 'a&lt;b and FOUND' "$work/home/out.xml" || fail "escape did not use share/plendor/KeyWord.txt: $(cat "$work/home/out.xml")"
"$cli" unescape "$work/home/out.xml" | grep -q 'a<b and FOUND' || fail "unescape"
# Once plendor-cli exports HTML: styled by the installed highlighters (keywords and names apart).
if grep -qx html <<<"$commands"; then
  [ -n "$(ls -A "$prefix/share/plendor/highlighters" 2>/dev/null)" ] || fail "no highlighters are installed"
  "$cli" html in.xml -o "$work/home/out.html"
  grep -q 'installedmarker' "$work/home/out.html" || fail "html: the text is missing"
  [ "$(grep -o '<span class=c[0-9]*' "$work/home/out.html" | sort -u | wc -l)" -ge 2 ] ||
    fail "html: the installed highlighters were not applied"
fi

# The installed editor from the read-only prefix, as a user who cannot write it.
as_user=()
if [ "$(id -u)" = 0 ]; then as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
home=$work/home
editor_env=(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config"
            XDG_RUNTIME_DIR="$home/run" PLENDOR_SETTINGS_DIR="$home/settings")
mkdir -p -m 700 "$home/run"
[ "$(id -u)" != 0 ] || chown 65534:65534 "$home/run"
set +e
"${editor_env[@]}" QT_QPA_PLATFORM=offscreen timeout 4 "${as_user[@]}" "$prefix/bin/plendor" "$work/elsewhere/in.xml" \
  >"$work/editor.log" 2>&1
code=$?
set -e
[ "$code" = 124 ] || fail "the editor did not stay up offscreen (exit $code): $(cat "$work/editor.log")"

# A display that names no server: one line of ours and exit 2, not Qt's abort.
number=4242
while [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
set +e
"${editor_env[@]}" DISPLAY=":$number" "$prefix/bin/plendor" "$work/elsewhere/in.xml" >"$work/nodisplay.log" 2>&1
code=$?
set -e
[ "$code" = 2 ] && [ "$(wc -l <"$work/nodisplay.log")" = 1 ] && grep -q "^plendor: cannot connect to the display :$number" "$work/nodisplay.log" ||
  fail "a display without a server (exit $code): $(cat "$work/nodisplay.log")"

# A search typed into the find dialog keeps its history in the user's data folder.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
  # Waits up to $1 seconds for the command after it to succeed.
  wait_for() { local tenths=$(($1 * 10)); shift; for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done; return 1; }
  xvfb= editor=
  stop() { [ -z "$editor" ] || kill "$editor" 2>/dev/null; [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null; }
  trap stop EXIT
  answers() { kill -0 "$xvfb" 2>/dev/null && DISPLAY=:$number xdotool getdisplaygeometry >/dev/null 2>&1; }
  # A free display as xvfb-run -a takes one: the first number from 99 up without a lock file whose
  # server then starts (another may take the same number first: then on to the next).
  number=99
  while :; do
    [ "$number" -lt 400 ] || fail "no free display for Xvfb"
    if [ ! -e "/tmp/.X$number-lock" ]; then
      Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb=$!
      wait_for 60 answers && break
      kill "$xvfb" 2>/dev/null || true
      xvfb=
    fi
    number=$((number + 1))
  done
  display=:$number
  export DISPLAY=$display
  "${editor_env[@]}" DISPLAY="$display" "${as_user[@]}" "$prefix/bin/plendor" "$work/elsewhere/in.xml" >>"$work/editor.log" 2>&1 &
  editor=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name 'in\.xml' | head -1)
  [ -n "$window" ] || fail "the editor's window did not appear: $(cat "$work/editor.log")"
  focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
  history=$home/data/Plendor/findList.txt
  searched() { [ "$(head -1 "$history" 2>/dev/null)" = $'installed\r' ]; }
  # No window manager: give the window the keyboard and ask for the find dialog, type the search and
  # press Enter; keys can be lost while a loaded machine maps the dialog, so the whole is tried again.
  for _ in 1 2 3 4 5; do
    dialog=$(xdotool search --onlyvisible --name '^查找$' 2>/dev/null | head -1) || true
    if [ -z "$dialog" ]; then
      xdotool windowfocus "$window" 2>/dev/null || true
      wait_for 10 focused "$window" || continue
      xdotool key ctrl+f
      dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^查找$' 2>/dev/null | head -1) || true
      [ -n "$dialog" ] || continue
    fi
    xdotool windowfocus "$dialog" 2>/dev/null || true
    wait_for 10 focused "$dialog" || continue
    xdotool key ctrl+a BackSpace
    xdotool type --delay 20 'installed'
    xdotool key Return
    wait_for 10 searched && break
  done
  searched || fail "the find history is not in the user's data folder: $(cat "$history" 2>/dev/null) $(cat "$work/editor.log")"
  [ "$(stat -c %a "$history")" = 600 ] || fail "the find history is readable by others: $(stat -c %a "$history")"
  kill -0 "$editor" || fail "the editor ended"
fi
[ -z "$(find "$prefix" -newer "$work/elsewhere/in.xml" -print -quit)" ] || fail "something was written into the prefix"
[ ! -e "$prefix/bin/findList.txt" ] || fail "the history went into the program folder"
echo "installed programs: ok"
INNER

if [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; then
  unshare -m bash "$work/installed.sh" "$work" "$prefix" "$version" "$source" "$build"
else
  bash "$work/installed.sh" "$work" "$prefix" "$version" "$source" "$build"
fi
echo "install layout: ok"
