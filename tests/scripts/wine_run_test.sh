#!/usr/bin/env bash
# wine-run refuses a 32-bit program when 32-bit wine is missing, not runs nothing and ends with 0.
dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT
{ printf 'MZ'; head -c 58 /dev/zero; printf '\x40\x00\x00\x00PE\x00\x00\x4c\x01'; } >"$dir/old.exe"
QUORVAL_WINE32=$dir/none QUORVAL_WINEPREFIX=$dir/p "$1" "$dir/old.exe" 2>"$dir/said"; status=$?
grep -q 'old.exe is a 32-bit Windows program and needs 32-bit wine.*wine32:i386' "$dir/said" && [ $status = 126 ] ||
  { echo "status $status: $(cat "$dir/said")"; exit 1; }
