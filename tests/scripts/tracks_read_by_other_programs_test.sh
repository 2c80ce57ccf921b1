#!/usr/bin/env bash
# The GPX, GeoJSON and KML tracks of every sample log, and of one whose name
# XML and JSON must escape, as other programs read them: GPX valid against
# the GPX 1.1 schema (xmllint), all three read by GDAL (ogrinfo) with a
# point or a line for every fix, GeoJSON parsed by Python's json module, and
# the points of all three the positions of the fixes table, digit for digit.
# Usage: tracks_read_by_other_programs_test.sh QUORVAL-CONVERT SAMPLES SCHEMA
# Exits 77 (skipped) when xmllint or ogrinfo is not installed.
convert=$1 samples=$2 schema=$3
for tool in xmllint ogrinfo; do
  command -v $tool >/dev/null || { echo "$tool is not installed"; exit 77; }
done
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
cp "$samples"/*.txt "$work/" && cp "$samples/day1.txt" "$work/a&b<c>'\".txt"
status=0
fail() { echo "$*"; status=1; }
for log in "$work"/*.txt; do
  "$convert" --quiet --format fixes,gpx,geojson,kml "$log" || fail "$log: exit $?"
  base=${log%.txt}
  xmllint --noout --schema "$schema" "$base.gpx" 2>"$work/xmllint" || fail "$(cat "$work/xmllint")"
  /usr/bin/python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$base.geojson" || fail "$base.geojson: no JSON"
  for track in "$base.gpx" "$base.geojson" "$base.kml"; do
    ogrinfo -ro -al -so "$track" >"$work/ogrinfo" 2>&1 || fail "$track: $(cat "$work/ogrinfo")"
    ! grep -q -E '^(ERROR|Warning)' "$work/ogrinfo" || fail "$track: $(grep -E '^(ERROR|Warning)' "$work/ogrinfo")"
  done
  # Every track's points are the fixes table's positions, digit for digit.
  /usr/bin/python3 - "$base" <<'PYTHON' || fail "$base: the tracks' points are not the fixes table's"
import csv, json, sys, xml.etree.ElementTree as tree
base = sys.argv[1]
rows = [r for r in csv.DictReader(open(base + "-fixes.csv", newline=""))
        if r["lat"] and ((r["quality"] and int(r["quality"]) > 0) or (not r["quality"] and r["status"] == "A"))]
fixes = [(r["lat"], r["lon"]) for r in rows]
gpx = [(p.get("lat"), p.get("lon")) for p in tree.parse(base + ".gpx").iter("{http://www.topografix.com/GPX/1/1}trkpt")]
points = json.load(open(base + ".geojson"), parse_float=str)["features"][1:]
geojson = [(f["geometry"]["coordinates"][1], f["geometry"]["coordinates"][0]) for f in points]
kml = open(base + ".kml").read()
print(base, len(fixes), "fixes")
sys.exit(0 if gpx == fixes and geojson == fixes and all(f"{lon},{lat}" in kml for lat, lon in fixes[:1]) else 1)
PYTHON
  # GDAL's GPX track points and GeoJSON's points: one per fix of --gnss.
  fixes=$("$convert" --quiet --gnss -o - "$log" | awk 'NR > 1' | wc -l)
  points=$(ogrinfo -ro -so "$base.gpx" track_points | sed -n 's/^Feature Count: //p')
  [ "${points:-0}" -eq "$fixes" ] || fail "$base.gpx: $points track points for $fixes fixes"
done
[ $status -eq 0 ] && echo "every track read by xmllint, ogrinfo and json"
exit $status
