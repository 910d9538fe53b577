#!/usr/bin/env bash
# Applies every NN-name.patch of PATCH_DIR, in name order, to SOURCE_DIR (patch -p1).
# All of them are first tried in order on a scratch copy (a later patch may build on an earlier
# one), so a patch that no longer applies stops the run with one line naming it and leaves
# SOURCE_DIR as it was.
set -euo pipefail

source_dir=${1:?usage: apply-patches.sh SOURCE_DIR PATCH_DIR}
patch_dir=${2:?usage: apply-patches.sh SOURCE_DIR PATCH_DIR}

fail() { echo "apply-patches: $*" >&2; exit 1; }

[ -d "$source_dir" ] || fail "no source folder $source_dir"
shopt -s nullglob
patches=("$patch_dir"/[0-9]*.patch)
[ ${#patches[@]} -gt 0 ] || fail "no patches in $patch_dir"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -a "$source_dir/." "$scratch/"
for p in "${patches[@]}"; do
  patch -d "$scratch" -p1 --forward --silent <"$p" >/dev/null 2>&1 ||
    fail "patch $(basename "$p") does not apply to $source_dir"
done
for p in "${patches[@]}"; do
  patch -d "$source_dir" -p1 --forward --silent <"$p" >/dev/null 2>&1 ||
    fail "patch $(basename "$p") failed while applying to $source_dir"
done
