#!/bin/sh
# Launch-to-first-paint of Zephalonte with a 100-year journal (36,500 days),
# against a bare Qt main window, under the offscreen platform.
#
#   bench/startup/run.sh [BUILD_DIR]      (default: build)
#
# Needs hyperfine and GNU time. Prints both medians, their ratio and the
# peak memory of each program.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
program="$build/src/app/zephalonte"
bare="$build/bench/startup/bare_window"
for exe in "$program" "$bare"; do
    [ -x "$exe" ] || { echo "missing $exe: build the targets zephalonte and bare_window" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config"

# 36,500 consecutive days from 1930-01-01, every value filled, with a name so
# that no question stops the start-up.
python3 - "$work/zph0001.txt" <<'PY'
import datetime, sys
day = datetime.date(1930, 1, 1)
lines = ["# quillox file ver 2", "[settings]", "graphNDays = 35", "[userInfo]",
         "name = bench", "height = 170", "[data]"]
for i in range(36500):
    lines.append("%s\t%g\t%g\t%g\t%g\t%g\t%g\tmemo %d" % (
        day.strftime("%Y/%m/%d"), 60 + i % 50 / 10, 20 + i % 30 / 10, 5, 1800, 2, 1500, i))
    day += datetime.timedelta(days=1)
open(sys.argv[1], "w", newline="").write("\r\n".join(lines) + "\r\n")
PY

export QT_QPA_PLATFORM=offscreen ZPH_QUIT_AFTER_FIRST_PAINT=1 XDG_CONFIG_HOME="$work/config"
cd "$work"

hyperfine --warmup 3 --runs 30 --style basic --export-json "$work/times.json" \
    --command-name zephalonte "$program" \
    --command-name bare_window "$bare" >&2

python3 - "$work/times.json" <<'PY'
import json, sys
results = {r["command"]: r["median"] * 1000 for r in json.load(open(sys.argv[1]))["results"]}
z, b = results["zephalonte"], results["bare_window"]
print("median launch to first paint: zephalonte %.1f ms, bare window %.1f ms, ratio %.2f" % (z, b, z / b))
PY

peak() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p'
}
echo "peak memory: zephalonte $(($(peak "$program") / 1024)) MB, bare window $(($(peak "$bare") / 1024)) MB"
