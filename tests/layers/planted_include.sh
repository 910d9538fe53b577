#!/usr/bin/env bash
# The layering check must reject an include that runs upward or sideways.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/platform" "$work/src/link" "$work/src/editor"
cp "$root/src/layers.txt" "$work/src/"
printf '#include "platform/AnsiCodec.h"\n' >"$work/src/editor/Fine.h"
python3 "$root/scripts/check_layers.py" "$work" >/dev/null || { echo "a downward include was rejected"; exit 1; }
for planted in 'platform/Up.h:app/frmMain.h' 'link/Beside.cpp:dialogs/frmFind.h' 'editor/Up.cpp:dialogs/frmFind.h'; do
    file=${planted%%:*}
    printf '#include "%s"\n' "${planted#*:}" >"$work/src/$file"
    if python3 "$root/scripts/check_layers.py" "$work" >/dev/null; then
        echo "not rejected: $file including ${planted#*:}"
        exit 1
    fi
    rm "$work/src/$file"
done
echo "planted includes rejected"
