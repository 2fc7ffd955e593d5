#!/usr/bin/env bash
# Drives Zephalonte with the keyboard under the Orca screen reader on a private
# X display and prints what Orca would have spoken. Not run by test.sh: it
# needs Xvfb, openbox, xdotool, dbus, at-spi2-core and orca, and takes about a
# minute.
#
#   tests/manual/orca-check.sh [build-dir] [journal]
#
# The journal (the shared sample by default) is copied to a fresh folder with
# a fresh HOME, so nothing of the user's is touched. Orca's debug log keeps
# every "SPEECH OUTPUT" line whether or not a sound device exists; it stays in
# the work folder printed at the start.
#
# Orca speaks through speech-dispatcher with a voice that says nothing
# (sd_generic running `true`): with the usual espeak-ng voice and no sound
# device Orca 43 stalls after its third sentence. ORCA_CHECK_ORCA_OPTIONS
# replaces Orca's options, e.g. "--disable speech"; what Orca would say is
# logged either way.
set -euo pipefail
repository="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$repository/build}" && pwd)"
journal="$(realpath "${2:-$repository/../shared/samples/zph0001.txt}")"
program="$build/src/app/zephalonte"
[ -x "$program" ] || { echo "no $program: build the zephalonte target first" >&2; exit 1; }
[ -f "$journal" ] || { echo "no journal $journal" >&2; exit 1; }
for tool in Xvfb openbox xdotool dbus-run-session orca gsettings; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "$launcher is missing (at-spi2-core)" >&2; exit 1; }

if [ "${ORCA_CHECK_STAGE:-}" != session ]; then
    work="$(mktemp -d /tmp/orca-check.XXXXXX)"
    echo "work folder: $work"
    mkdir -p "$work/home" "$work/journal" "$work/runtime"
    chmod 700 "$work/runtime"
    cp "$journal" "$work/journal/zph0001.txt"
    chmod u+w "$work/journal/zph0001.txt"
    # A speech server whose only voice speaks nothing, so that no sound
    # device is waited for.
    mkdir -p "$work/home/.config/speech-dispatcher/modules"
    cat >"$work/home/.config/speech-dispatcher/speechd.conf" <<'CONF'
AddModule "silent" "sd_generic" "silent.conf"
DefaultModule silent
DefaultLanguage "en"
CONF
    cat >"$work/home/.config/speech-dispatcher/modules/silent.conf" <<'CONF'
GenericExecuteSynth "true"
AddVoice "en" "MALE1" "silent"
CONF
    Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    # A session bus of its own; the script runs itself again inside it.
    env -i PATH="$PATH" LANG=C.UTF-8 DISPLAY=":$(cat "$work/display")" HOME="$work/home" \
        XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/.config" \
        ORCA_CHECK_STAGE=session ORCA_CHECK_WORK="$work" \
        ${ORCA_CHECK_ORCA_OPTIONS+ORCA_CHECK_ORCA_OPTIONS="$ORCA_CHECK_ORCA_OPTIONS"} \
        dbus-run-session -- "$0" "$build" "$journal" >"$work/session.log" 2>&1 || true
    grep -E "^(KEY|STEP)" "$work/session.log" || true
    echo "---- what Orca would have said ----"
    # Each utterance with the lines of a message that runs over several.
    awk '/SPEECH OUTPUT/ { open = 1 } open { print } /\x27 ?(\{|\[\{)/ { open = 0 }' \
        "$work/orca.log" | grep -a . || echo "(nothing: see $work/orca.log)"
    exit 0
fi

# ---- inside the session bus ----
work="$ORCA_CHECK_WORK"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
started=()
stop_all() {
    # Newest first: the program, Orca, the window manager, the bus.
    local index pid
    for ((index = ${#started[@]} - 1; index >= 0; index--)); do
        pid=${started[index]}
        kill "$pid" 2>/dev/null || continue
        for _ in $(seq 10); do kill -0 "$pid" 2>/dev/null || break; sleep 0.3; done
        kill -9 "$pid" 2>/dev/null || true
    done
    # Orca starts the speech server, which outlives it: the one on this
    # session's socket.
    for pid in $(pgrep -f "$work/runtime/speech-dispatcher" || true); do
        kill "$pid" 2>/dev/null || true
    done
}
trap stop_all EXIT

"$launcher" --launch-immediately >"$work/at-spi.log" 2>&1 &
started+=($!)
sleep 1
gsettings set org.gnome.desktop.interface toolkit-accessibility true
openbox >"$work/openbox.log" 2>&1 &
started+=($!)
sleep 1
# Orca's debug file is block-buffered and Orca does not flush it when it is
# ended: opened line-buffered here, the log is whole at any moment. Orca's
# own interpreter, from its first line, finds its modules.
orca_program="$(command -v orca)"
read -r interpreter <"$orca_program"
${interpreter#\#!} -c '
import builtins, sys
real_open = builtins.open
def open_line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
    if file == sys.argv[-1] and "w" in mode:
        buffering = 1
    return real_open(file, mode, buffering, *args, **kwargs)
builtins.open = open_line_buffered
sys.argv[0] = sys.argv[1]
del sys.argv[1]
exec(compile(real_open(sys.argv[0]).read(), sys.argv[0], "exec"))
' "$orca_program" ${ORCA_CHECK_ORCA_OPTIONS-} --debug-file "$work/orca.log" \
    >"$work/orca.out" 2>&1 &
started+=($!)
for _ in $(seq 50); do grep -qa "Startup complete" "$work/orca.log" 2>/dev/null && break; sleep 0.2; done

(cd "$work/journal" && exec "$1/src/app/zephalonte") >"$work/zephalonte.log" 2>&1 &
started+=($!)
for _ in $(seq 50); do xdotool search --name Zephalonte >/dev/null 2>&1 && break; sleep 0.2; done
sleep 3

# One step: a note in the log, the keys, and time for Orca to speak.
step() { echo "STEP $1"; shift; echo "KEY $*"; xdotool key --delay 150 "$@"; sleep 2.5; }
step "the form has the focus at the start; F6 into the list" F6
step "the newest line, then two older ones" Home
step "" Down
step "" Down
step "F6 to the advisor: its message" F6
step "F6 to the graph: its description" F6
step "F6 to the form" F6
step "F6 into the list again: the selected line" F6
step "Shift+F6 back to the form" shift+F6
step "a new weight, registered: the advisor's new message" ctrl+a 5 9 period 5
step "" Return
step "a word left and right in the weight field (Qt's own view of a field froze here)" ctrl+Left
step "" ctrl+Right
step "" ctrl+Right
step "F6: the window still answers" F6
sleep 2
