#!/usr/bin/env bash
# Runs the README's commands for readable diffs, exactly as written there, in a temporary git
# repository of stored define files, and finds the readable SQL in what git diff and git log -p
# show.
#   readable_diffs.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The user's own git settings (a pager, another textconv) play no part.
export HOME=$work GIT_CONFIG_NOSYSTEM=1 GIT_PAGER=cat PAGER=cat
export PATH=$build:$PATH
git config --global user.name test
git config --global user.email test@example.invalid

commands=$(awk '/^## Readable diffs of stored files/ { inside = 1 }
                inside && /^```sh/ { block = 1; next }
                block && /^```/ { exit }
                block { print }' "$source/README.md")
[ -n "$commands" ] || fail "no command block under the README's readable diffs section"

repo=$work/repo
git init -q "$repo"
cd "$repo"
store() { printf '%s' "$1" | plendor-cli escape -o "$2"; }
store '<defineSqls>
<define name="bill">
<sql type="select">select * from bill where amount < 100 and kind = "a"</sql>
</define>
</defineSqls>' Bill.xml
git add Bill.xml
git commit -q -m first
grep -q '&lt;' Bill.xml || fail "the stored file is not escaped, the test proves nothing"
store '<defineSqls>
<define name="bill">
<sql type="select">select * from bill where amount < 200 and kind = "b"</sql>
</define>
</defineSqls>' Bill.xml

shown=$(bash -euo pipefail -c "$commands")

grep -qF '+<sql type="select">select * from bill where amount < 200 and kind = "b"</sql>' <<<"$shown" ||
  fail "git diff does not show the changed SQL readable: $shown"
grep -qF '+<sql type="select">select * from bill where amount < 100 and kind = "a"</sql>' <<<"$shown" ||
  fail "git log -p does not show the committed SQL readable: $shown"
if grep -q '&lt;\|&quot;' <<<"$shown"; then
  fail "entities are still shown: $shown"
fi
echo "readable diffs: ok"
