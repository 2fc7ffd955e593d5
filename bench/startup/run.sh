#!/bin/sh
# Launch-to-first-paint of Zephalonte with a 100-year journal (36,500 days)
# and with an empty one, against a bare Qt main window, under the offscreen
# platform. The difference of the two journals is what the journal's load,
# the list's rows and the first statistics cost.
#
# Launch is the monotonic clock just before the program is started; first
# paint is the same clock as each program prints it ("painted: NS") once its
# window is painted, before it ends. The time to the process's end is shown
# beside it: it adds the teardown, in which closing a file watcher alone waits
# 4 to 16 ms for the kernel, which says nothing about the start.
#
#   bench/startup/run.sh [BUILD_DIR]      (default: build)
#   ZPH_STARTUP_RUNS=N                    (default: 30 of each, after 3 warm-ups)
#
# The three programs take turns, one launch each in every round, so that a
# build or a backup running beside the benchmark slows all three alike and the
# ratios stay fair on a busy machine. Needs GNU time. Prints the medians, the
# ratios, the journal's share and the peak memory of each program.
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
mkdir -p "$work/config" "$work/empty"

# 36,500 consecutive days from 1930-01-01, every value filled, with a name so
# that no question stops the start-up.
python3 - "$work/zph0001.txt" "$work/empty/zph0001.txt" <<'PY'
import datetime, sys
day = datetime.date(1930, 1, 1)
lines = ["# quillox file ver 2", "[settings]", "graphNDays = 35", "[userInfo]",
         "name = bench", "height = 170", "[data]"]
for i in range(36500):
    lines.append("%s\t%g\t%g\t%g\t%g\t%g\t%g\tmemo %d" % (
        day.strftime("%Y/%m/%d"), 60 + i % 50 / 10, 20 + i % 30 / 10, 5, 1800, 2, 1500, i))
    day += datetime.timedelta(days=1)
open(sys.argv[1], "w", newline="").write("\r\n".join(lines) + "\r\n")
# The same journal without days.
open(sys.argv[2], "w", newline="").write("\r\n".join(lines[:7]) + "\r\n")
PY

export QT_QPA_PLATFORM=offscreen ZPH_QUIT_AFTER_FIRST_PAINT=1 XDG_CONFIG_HOME="$work/config"
cd "$work"

python3 - "$program" "$bare" "$work" "${ZPH_STARTUP_RUNS:-30}" <<'PY'
import statistics, subprocess, sys, time
program, bare, work, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
commands = {  # name: (program, working folder)
    "zephalonte": (program, work),
    "zephalonte_empty": (program, work + "/empty"),
    "bare_window": (bare, work),
}
times = {name: [] for name in commands}
to_exit = {name: [] for name in commands}
warmups = 3
for round_ in range(warmups + runs):
    # The order turns too, so that no program always follows the same one.
    names = list(commands)
    names = names[round_ % 3:] + names[:round_ % 3]
    for name in names:
        exe, folder = commands[name]
        start = time.monotonic_ns()
        done = subprocess.run([exe], cwd=folder, check=True, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, text=True)
        ended = time.monotonic_ns()
        painted = [int(line.split()[1]) for line in done.stderr.splitlines()
                   if line.startswith("painted: ")]
        if not painted:
            sys.exit("%s printed no first-paint time" % name)
        if round_ >= warmups:
            times[name].append((painted[0] - start) / 1e6)
            to_exit[name].append((ended - start) / 1e6)
for name, values in times.items():
    print("%-17s median %6.1f ms, min %6.1f, max %6.1f (%d runs); to its end %6.1f ms"
          % (name, statistics.median(values), min(values), max(values), len(values),
             statistics.median(to_exit[name])),
          file=sys.stderr)
z, e, b = (statistics.median(times[n]) for n in ("zephalonte", "zephalonte_empty", "bare_window"))
print("median launch to first paint: zephalonte %.1f ms, bare window %.1f ms, ratio %.2f" % (z, b, z / b))
print("empty journal: zephalonte %.1f ms, ratio %.2f; the 36,500 days' share %.1f ms" % (e, e / b, z - e))
z, e, b = (statistics.median(to_exit[n]) for n in ("zephalonte", "zephalonte_empty", "bare_window"))
print("to the process's end: zephalonte %.1f ms, empty journal %.1f ms, bare window %.1f ms"
      % (z, e, b))
PY

peak() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p'
}
echo "peak memory: zephalonte $(($(peak "$program") / 1024)) MB, bare window $(($(peak "$bare") / 1024)) MB"
