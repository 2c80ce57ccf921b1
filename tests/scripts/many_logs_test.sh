#!/usr/bin/env bash
# A fleet's logs converted by GNU parallel, in any order and several at a
# time, give the files that converting them one by one gives, byte for byte:
# in the multi-system mode and the new formats a log's outputs depend on
# that log alone.  Usage: many_logs_test.sh QUORVAL-CONVERT SAMPLES-FOLDER
# Exits 77 (skipped) without GNU parallel.
convert=$1 samples=$2
command -v parallel >/dev/null || { echo "GNU parallel is not installed"; exit 77; }
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
mkdir "$work/one" "$work/many"
# Twenty logs: the samples, and the samples each followed by another one.
set -- "$samples"/*.txt
i=0
for log in "$@"; do
  for other in "" "$1" "$2"; do
    ((i < 20)) || break
    cat "$log" ${other:+"$other"} >"$work/one/log$i.txt"
    i=$((i + 1))
  done
done
cp "$work"/one/*.txt "$work/many/"
options=(--quiet --gnss --format classic,fixes,satellites,gpx,geojson,kml)
for log in "$work"/one/*.txt; do "$convert" "${options[@]}" "$log" || exit 1; done
# Newest first, two at a time: another order than the one by one run's.
ls -t "$work"/many/*.txt | parallel -j2 "$convert" "${options[@]}" {} || exit 1
cd "$work" && diff -r one many && echo "20 logs: the same files one by one and in parallel"
