#!/usr/bin/env bash
# The summon key under a plain X11 window manager, end to end: the program grabs the key of its settings file on an
# Xvfb server run by openbox; another window has the focus; the key, pressed with NumLock and CapsLock off and on,
# makes the program's window the active one. A third copy that wants the same key is told that it is taken.
# Usage: SummonKeyX11Test.sh <program> <first display number>; the first free one of ten from there is used.
set -euo pipefail
program=$1
for tool in Xvfb openbox xdotool xprop; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (Debian packages xvfb, openbox, xdotool, x11-utils)"
        exit 77
    fi
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
show_logs() {
    local log
    for log in summoned other third openbox xvfb; do
        if [[ -e $work/$log.log ]]; then
            echo "--- $log:" >&2
            cat "$work/$log.log" >&2
        fi
    done
}

# Waits for a command to succeed: up to twenty seconds, as a loaded machine starts programs slowly.
wait_for() {
    local i
    for ((i = 0; i < 200; i++)); do
        if "$@" 2>/dev/null; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

wm_runs() {
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}

active_is() {
    [[ $(xdotool getactivewindow 2>/dev/null) == "$1" ]]
}

# The visible window of a process.
window_of() {
    local window
    wait_for xdotool search --onlyvisible --pid "$1" >/dev/null || return 1
    window=$(xdotool search --onlyvisible --pid "$1" | head -n 1)
    echo "$window"
}

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP XDG_SESSION_TYPE DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
mkdir -p "$HOME" "$work/summoned" "$work/other"
mkdir -m 700 "$work/runtime-summoned" "$work/runtime-other"

# Xvfb on the first display number from $2 that nobody holds. Other tests pick numbers in the same range at the
# same moment: the display is ours once its lock file names our server, and a server that lost the race ends.
ours() { [[ $(tr -d ' \n' <"/tmp/.X$1-lock" 2>/dev/null) == "$2" && -e /tmp/.X11-unix/X$1 ]]; }
display=
for ((n = $2; n < $2 + 10; n++)); do
    [[ -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -nolisten tcp -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
    server=$!
    for ((i = 0; i < 200; i++)); do
        if ours "$n" "$server" || ! kill -0 "$server" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    if ours "$n" "$server" && kill -0 "$server" 2>/dev/null; then
        pids+=("$server")
        display=:$n
        break
    fi
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
done
if [[ -z $display ]]; then
    echo "SKIP: no X display of :$2 to :$(($2 + 9)) could be started: $(cat "$work/xvfb.log")"
    exit 77
fi
export DISPLAY=$display
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
if ! wait_for wm_runs; then
    fail "openbox did not start"
    show_logs
    exit 1
fi

# The program beside a settings file that names the key; another copy, with no key and a runtime folder of its own so
# that it does not hand over, gives the other window.
# The program with the library that holds its windows.
copy_program() { cp "$program" "$(dirname "$program")/libnagitori_program.so" "$1/"; }
copy_program "$work/summoned"
printf '[Start]\nSummonKey=Ctrl+Alt+Space\n' >"$work/summoned/nagitori.ini"
copy_program "$work/other"
XDG_RUNTIME_DIR=$work/runtime-summoned "$work/summoned/nagitori" >"$work/summoned.log" 2>&1 &
summoned_pid=$!
pids+=("$summoned_pid")
summoned=$(window_of "$summoned_pid") || {
    fail "the program's window did not appear"
    show_logs
    exit 1
}
wait_for active_is "$summoned" || fail "openbox did not focus the program's window"

XDG_RUNTIME_DIR=$work/runtime-other "$work/other/nagitori" >"$work/other.log" 2>&1 &
other_pid=$!
pids+=("$other_pid")
other=$(window_of "$other_pid") || {
    fail "the other window did not appear"
    show_logs
    exit 1
}

for locks in "" "Num_Lock" "Caps_Lock"; do
    label="NumLock and CapsLock off"
    if [[ -n $locks ]]; then
        xdotool key "$locks"
        label="with ${locks/_/} on too"
    fi
    xdotool windowactivate --sync "$other" 2>/dev/null || true
    if ! wait_for active_is "$other"; then
        fail "$label: the other window did not take the focus"
        continue
    fi
    xdotool key ctrl+alt+space
    wait_for active_is "$summoned" || fail "$label: the key did not bring the program's window forward"
done

# The grab holds the key: another copy that wants it says so in a message box, its second window.
mkdir "$work/third" && mkdir -m 700 "$work/runtime-third"
copy_program "$work/third"
cp "$work/summoned/nagitori.ini" "$work/third/"
XDG_RUNTIME_DIR=$work/runtime-third "$work/third/nagitori" >"$work/third.log" 2>&1 &
third_pid=$!
pids+=("$third_pid")
two_windows() {
    (($(xdotool search --onlyvisible --pid "$third_pid" | wc -l) >= 2))
}
wait_for two_windows || fail "a copy that wants the same key did not report it taken"

kill -0 "$summoned_pid" || fail "the program ended"

if ((failures > 0)); then
    show_logs
    exit 1
fi
echo "summon key grabbed and answered under openbox with NumLock and CapsLock"
