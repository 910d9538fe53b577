#!/usr/bin/env bash
# The patch step on a scratch tree: good patches apply in order; a patch that no longer applies
# stops the step with one line naming it, before any patch has touched the tree.
set -euo pipefail
apply=${1:?usage: apply_patches.sh SCRIPTS_DIR}/apply-patches.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

mkdir -p "$scratch/tree/src" "$scratch/good" "$scratch/bad"
printf 'one\ntwo\nthree\n' >"$scratch/tree/src/a.txt"
cp -r "$scratch/tree" "$scratch/pristine"
cat >"$scratch/good/01-two.patch" <<'PATCH'
Why this patch exists: it is a test.

--- a/src/a.txt
+++ b/src/a.txt
@@ -1,3 +1,3 @@
 one
-two
+TWO
 three
PATCH
cat >"$scratch/good/02-builds-on-01.patch" <<'PATCH'
--- a/src/a.txt
+++ b/src/a.txt
@@ -1,3 +1,3 @@
 one
-TWO
+Two
 three
PATCH
cp "$scratch/good/01-two.patch" "$scratch/bad/01-two.patch"
cat >"$scratch/bad/02-gone.patch" <<'PATCH'
--- a/src/a.txt
+++ b/src/a.txt
@@ -1,3 +1,3 @@
 one
 two
-four
+FOUR
PATCH

# A patch that does not apply: one line naming it, and the tree untouched.
if bash "$apply" "$scratch/tree" "$scratch/bad" 2>"$scratch/err"; then
  fail "a patch that does not apply was accepted"
fi
[ "$(wc -l <"$scratch/err")" -eq 1 ] || fail "expected one line, got: $(cat "$scratch/err")"
grep -q "02-gone.patch does not apply" "$scratch/err" || fail "the line does not name the patch: $(cat "$scratch/err")"
diff -r "$scratch/pristine" "$scratch/tree" >/dev/null || fail "the tree was changed"

# Patches that apply do, each on what the ones before it made.
bash "$apply" "$scratch/tree" "$scratch/good"
[ "$(sed -n 2p "$scratch/tree/src/a.txt")" = Two ] || fail "the good patches were not applied in order"

# Applying them again fails: they are not applied twice.
if bash "$apply" "$scratch/tree" "$scratch/good" 2>/dev/null; then
  fail "an applied patch was applied again"
fi
echo "patch step: ok"
