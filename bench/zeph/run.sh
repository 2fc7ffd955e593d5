#!/bin/sh
# Launch-to-exit times of zeph on a 100,000-day journal (about 274 years),
# every value filled and a memo on each day.
#
#   bench/zeph/run.sh [BUILD_DIR]      (default: build)
#
# Needs hyperfine. Targets: show and advice within 150 ms, graph to PNG
# within 300 ms.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
zeph="$build/src/cli/zeph"
[ -x "$zeph" ] || { echo "missing $zeph: build the target zeph" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config"

python3 - "$work/zph0001.txt" <<'PY'
import datetime, sys
day = datetime.date(1800, 1, 1)
lines = ["# quillox file ver 2", "[settings]", "graphNDays = 35", "[userInfo]",
         "name = bench", "height = 170", "[objective]", "weight = 60", "[data]"]
for i in range(100000):
    lines.append("%s\t%g\t%g\t%g\t%g\t%g\t%g\tmemo %d\\nline two" % (
        day.strftime("%Y/%m/%d"), 60 + i % 50 / 10, 20 + i % 30 / 10, 5, 1800, 2, 1500, i))
    day += datetime.timedelta(days=1)
open(sys.argv[1], "w", newline="").write("\r\n".join(lines) + "\r\n")
PY
last=$(tail -n 1 "$work/zph0001.txt" | cut -c1-10 | tr / -)

export XDG_CONFIG_HOME="$work/config" HOME="$work"
cd "$work"
# Each command that zeph offers; a command it does not have is left out.
set --
for command in "check zph0001.txt" "show" "advice --date $last" \
               "graph out.png --date $last" "graph out.pdf --date $last" \
               "export-csv days.csv"; do
    name=${command%% *}
    if "$zeph" "$name" --help >/dev/null 2>&1; then
        set -- "$@" --command-name "zeph $command" "$zeph $command >/dev/null"
    fi
done
hyperfine --warmup 2 --runs 20 --style basic "$@"
