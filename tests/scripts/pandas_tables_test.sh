#!/usr/bin/env bash
# pandas reads every fixes and satellites table of the samples without
# options: the utc cells as UTC times, positions as floats, the used flags as
# integers, one row per line after the header. Exit 77 (skipped) without
# pandas.  Usage: pandas_tables_test.sh SAMPLES_DIR
# Debian's pandas belongs to Debian's interpreter; a python3 earlier on PATH
# (pyenv, a virtual environment) may lack it.
for python in /usr/bin/python3 python3; do
  "$python" -c 'import pandas' 2>/dev/null && exec "$python" - "$1" <<'EOF'
import glob, sys
import pandas as pd
from pandas.api.types import is_numeric_dtype
tables = sorted(glob.glob(sys.argv[1] + "/*-fixes.csv") + glob.glob(sys.argv[1] + "/*-satellites.csv"))
failed = 0
for path in tables:
    frame = pd.read_csv(path, parse_dates=["utc"])
    rows = open(path, newline="").read().count("\r\n") - 1
    checks = {"rows": len(frame) == rows, "utc": str(frame["utc"].dtype) == "datetime64[ns, UTC]"}
    if path.endswith("-fixes.csv"):
        checks.update(lat=frame["lat"].dtype == "float64", lon=frame["lon"].dtype == "float64",
                      quality=is_numeric_dtype(frame["quality"]))
    else:
        checks.update(used=frame["used"].dtype == "int64")
    wrong = [name for name, ok in checks.items() if not ok]
    failed += bool(wrong)
    print(path, "wrong: " + ", ".join(wrong) if wrong else f"{len(frame)} rows as expected")
print(f"{len(tables) - failed} passed, {failed} failed")
sys.exit(1 if failed or not tables else 0)
EOF
done
echo "pandas is not installed (scripts/bootstrap installs python3-pandas): skipped"
exit 77
