#!/usr/bin/env bash
# Applies every NN-name.patch of PATCH_DIR, in name order, to SOURCE_DIR (patch -p1).
# All of them are tried first without touching anything, so a patch that no longer applies
# stops the run with one line naming it and leaves SOURCE_DIR as it was.
#   bash scripts/apply-patches.sh SOURCE_DIR PATCH_DIR
set -euo pipefail

source_dir=${1:?usage: apply-patches.sh SOURCE_DIR PATCH_DIR}
patch_dir=${2:?usage: apply-patches.sh SOURCE_DIR PATCH_DIR}

fail() { echo "apply-patches: $*" >&2; exit 1; }

[ -d "$source_dir" ] || fail "no source folder $source_dir"
shopt -s nullglob
patches=("$patch_dir"/[0-9]*.patch)
[ ${#patches[@]} -gt 0 ] || fail "no patches in $patch_dir"

for p in "${patches[@]}"; do
  patch -d "$source_dir" -p1 --dry-run --forward --silent <"$p" >/dev/null 2>&1 ||
    fail "patch $(basename "$p") does not apply to $source_dir"
done
for p in "${patches[@]}"; do
  patch -d "$source_dir" -p1 --forward --silent <"$p" >/dev/null 2>&1 ||
    fail "patch $(basename "$p") failed while applying to $source_dir"
done
