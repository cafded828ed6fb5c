#!/usr/bin/env bash
# The real program on a headless desktop session: which platform its window uses, its fixed size, stay-on-top,
# where its dialogs open and what a program started from it inherits.
#   usage: SessionTest.sh SESSION PROGRAM
#   SESSION: weston, mutter or kwin (each with XWayland), weston-native (Wayland without XWayland), or xvfb (an
#   X server where a Wayland session is announced but none answers: the program's own part, without a compositor)
# Exits 77 (skipped) when the compositor or a tool it needs is not installed.
set -euo pipefail

session=$1
program=$(readlink -f "$2")

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }
note() { echo "$session: $*"; }

need() {  # program, Debian package
  command -v "$1" >/dev/null || skip "$1 is not installed (Debian package $2)"
}

case $session in
  weston | weston-native) need weston weston ;;
  mutter) need mutter mutter; need dbus-daemon dbus-daemon ;;
  kwin) need kwin_wayland kwin-wayland; need dbus-daemon dbus-daemon ;;
  xvfb) need Xvfb xvfb ;;
  *) fail "unknown session $session" ;;
esac
if [[ $session != weston-native ]]; then
  [[ $session == xvfb ]] || need Xwayland xwayland
  need xdotool xdotool
  need xprop x11-utils
fi

# A private /tmp and network namespace: the compositor takes the first free X display number and binds its
# sockets there, so they are this test's own whatever else runs on the machine. Without namespaces (a
# container that forbids them) the test shares the machine's /tmp and takes a free number there.
if [[ -z ${SESSION_TEST_NAMESPACE:-} ]]; then
  export SESSION_TEST_NAMESPACE=private
  if unshare --mount --net true 2>/dev/null; then
    exec unshare --mount --net --propagation private "$BASH" "$0" "$@"
  elif unshare --user --map-root-user --mount --net true 2>/dev/null; then
    exec unshare --user --map-root-user --mount --net --propagation private "$BASH" "$0" "$@"
  fi
  SESSION_TEST_NAMESPACE=shared
fi
if [[ $SESSION_TEST_NAMESPACE == private ]]; then
  # The build may itself lie under /tmp, which the private one hides: its folder stays reachable through a
  # descriptor.
  exec {program_folder}<"$(dirname "$program")"
  program=/proc/$$/fd/$program_folder/$(basename "$program")
  mount -t tmpfs tmpfs /tmp
fi
mkdir -p -m 1777 /tmp/.X11-unix

work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to ten seconds for a command to succeed.
await() {
  local i
  for i in $(seq 100); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_SESSION_TYPE=wayland
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
unset DISPLAY WAYLAND_DISPLAY XAUTHORITY QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME DBUS_SESSION_BUS_ADDRESS

if [[ $session == mutter || $session == kwin ]]; then
  dbus-daemon --session --address="unix:path=$work/bus" --nofork --nopidfile 2>/dev/null &
  pids+=($!)
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus
  await test -S "$work/bus" || fail "the session bus did not start"
fi

x_sockets() { ls /tmp/.X11-unix 2>/dev/null | sort; }
before=$(x_sockets)
socket=wayland-sessions-$$
case $session in
  weston) weston --backend=headless-backend.so --xwayland --socket="$socket" --width=1280 --height=1024 \
            --idle-time=0 >"$work/compositor.log" 2>&1 & ;;
  weston-native) weston --backend=headless-backend.so --socket="$socket" --width=1280 --height=1024 \
                   --idle-time=0 >"$work/compositor.log" 2>&1 & ;;
  mutter) mutter --headless --virtual-monitor 1280x1024 --wayland --wayland-display="$socket" \
            >"$work/compositor.log" 2>&1 & ;;
  xvfb)
    # One of this test's display numbers, free in a private namespace and most likely elsewhere.
    for number in $(seq 60 69); do
      [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]] || break
    done
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >"$work/compositor.log" 2>&1 & ;;
  kwin)
    kwin=$(command -v kwin_wayland)
    # Debian gives kwin_wayland a file capability, which a container may refuse to exec; a copy runs
    # without it. KWin looks for its platform plugin under its own name, so the copy keeps it.
    if ! "$kwin" --version >/dev/null 2>&1; then
      mkdir "$work/kwin" && cp "$kwin" "$work/kwin/kwin_wayland" && kwin=$work/kwin/kwin_wayland
    fi
    "$kwin" --virtual --xwayland --socket "$socket" --width 1280 --height 1024 >"$work/compositor.log" 2>&1 & ;;
esac
pids+=($!)
if [[ $session == xvfb ]]; then
  # The Wayland socket is announced, but nothing listens on it.
  :
elif ! await test -S "$XDG_RUNTIME_DIR/$socket"; then
  cat "$work/compositor.log" >&2
  fail "the compositor did not start"
fi
export WAYLAND_DISPLAY=$socket

if [[ $session != weston-native ]]; then
  new_x_socket() {
    local name
    name=$(comm -13 <(echo "$before") <(x_sockets) | sed -n 's/^X\([0-9]*\)$/\1/p' | sort -n | head -1)
    [[ -n $name ]] && echo ":$name"
  }
  await new_x_socket >/dev/null || fail "XWayland did not start"
  export DISPLAY
  DISPLAY=$(new_x_socket)
  # Mutter's XWayland asks for its own cookie.
  for cookie in "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.*; do
    [[ -e $cookie ]] && export XAUTHORITY=$cookie
  done
  await xprop -root _NET_SUPPORTED >/dev/null 2>&1 || fail "XWayland on $DISPLAY does not answer"
fi

# The program in a folder of its own, with its settings beside it: the launcher page first, stay-on-top on.
# The first launcher entry starts env, which prints the environment it inherited to the program's output.
mkdir "$work/program" "$XDG_CONFIG_HOME/ナギトリ"
cp "$program" "$(dirname "$program")/libnagitori_program.so" "$work/program/"
printf '[Start]\nRunShowTab=3\nWindowTopShow=1\n' >"$work/program/nagitori.ini"
printf '[Application_1]\nName=環境\nFilePath=%s\n' "$(command -v env)" >"$XDG_CONFIG_HOME/ナギトリ/LauncherData.ini"

# Exactly this environment, so that whatever a started program finds beyond it came from the program.
given=(PATH="$PATH" HOME="$HOME" LANG=C.UTF-8 XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" XDG_CONFIG_HOME="$XDG_CONFIG_HOME"
       XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$WAYLAND_DISPLAY" WAYLAND_DEBUG=client)
for name in DISPLAY XAUTHORITY DBUS_SESSION_BUS_ADDRESS; do
  [[ -n ${!name:-} ]] && given+=("$name=${!name}")
done

start_program() {
  env -i "${given[@]}" "$work/program/nagitori" >"$work/program.out" 2>"$work/program.log" &
  pids+=($!)
  program_pid=$!
}

if [[ $session == weston-native ]]; then
  # Without XWayland the program is a Wayland client of its own.
  native_window() { grep -q 'xdg_toplevel@[0-9]*\.set_title("ナギトリ")' "$work/program.log"; }
  start_program
  await native_window || { cat "$work/program.log" >&2; fail "no Wayland window titled ナギトリ"; }
  kill -0 "$program_pid" || fail "the program ended"
  note "the main window is a native Wayland window"
  kill "$program_pid"
  wait "$program_pid" || true
  # An X display that does not answer leaves it on Wayland. Only a private namespace has a number that is
  # certainly nobody's.
  if [[ $SESSION_TEST_NAMESPACE == private ]]; then
    given+=(DISPLAY=:9)
    start_program
    await native_window || { cat "$work/program.log" >&2; fail "no Wayland window when DISPLAY does not answer"; }
    note "with an X display that does not answer, too"
  fi
  exit 0
fi

start_program
main_window() { xdotool search --onlyvisible --name '^ナギトリ$' 2>/dev/null | head -1; }
await main_window >/dev/null || { cat "$work/program.log" >&2; fail "the main window is not an X11 window"; }
window=$(main_window)
grep -q 'xdg_toplevel' "$work/program.log" && fail "the program opened a Wayland window as well"
note "the main window is X11 window $window on $DISPLAY"

# Geometry of a window's client area: x y width height.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                           /^ *Width/{w=$NF} /^ *Height/{h=$NF} END{print x, y, w, h}'
}
read -r x y width height < <(geometry "$window")

# Fixed size: the window manager is told that the smallest and the largest size are the window's own.
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
grep -q "minimum size: $width by $height" <<<"$hints" || fail "no fixed minimum size: $hints"
grep -q "maximum size: $width by $height" <<<"$hints" || fail "no fixed maximum size: $hints"
note "fixed size ${width}x$height"

if [[ $session == weston ]]; then
  # Weston's headless seat gives X11 windows no keyboard focus, and pointer input through XTEST brings its
  # XWayland down: what needs input is checked on the other sessions.
  note "no input reaches X11 windows here: stay-on-top, dialog placement and launching not checked"
  exit 0
fi

supported=$(xprop -root _NET_SUPPORTED)
if grep -q _NET_WM_STATE_ABOVE <<<"$supported"; then
  xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the main window is not kept above"
  # Another window, brought forward over it, still stays below it.
  xmessage -geometry "+$x+$y" "cover" &
  pids+=($!)
  cover_window() { xdotool search --onlyvisible --name '^xmessage$' 2>/dev/null | head -1; }
  await cover_window >/dev/null || fail "the covering window did not appear"
  cover=$(cover_window)
  timeout 5 xdotool windowactivate --sync "$cover" 2>/dev/null || xdotool windowraise "$cover"
  stacked_above() {
    xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | awk -v a="$(printf '0x%x' "$window")" \
      -v b="$(printf '0x%x' "$cover")" '{for (i = 1; i <= NF; i++) {if ($i == a) pa = i; if ($i == b) pb = i}}
                                          END{exit !(pa && pb && pa > pb)}'
  }
  await stacked_above || fail "the main window went below another window: $(xprop -root _NET_CLIENT_LIST_STACKING)"
  note "stays on top of a window brought forward after it"
else
  note "no window manager here keeps windows above others: stay-on-top not checked"
fi

# A window's frame, from its client area and the frame extents the window manager announces (none without
# one): x y width height.
frame() {
  local extents left=0 right=0 top=0 bottom=0 cx cy cwidth cheight
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  [[ -n $extents ]] && IFS=, read -r left right top bottom <<<"$extents"
  read -r cx cy cwidth cheight < <(geometry "$1")
  echo $((cx - left)) $((cy - top)) $((cwidth + left + right)) $((cheight + top + bottom))
}

# The version dialog, opened from the menu, opens centred on the main window, frame on frame.
timeout 5 xdotool windowactivate --sync "$window" 2>/dev/null || xdotool mousemove --window "$window" 300 2 click 1
sleep 0.3
xdotool key --clearmodifiers alt+h
sleep 0.3
xdotool key a
dialog_window() { xdotool search --onlyvisible --name '^バージョン情報$' 2>/dev/null | head -1; }
await dialog_window >/dev/null || fail "the version dialog did not open"
dialog=$(dialog_window)
sleep 0.5
read -r dx dy dwidth dheight < <(frame "$dialog")
read -r mx my mwidth mheight < <(frame "$window")
offset_x=$(((2 * dx + dwidth) - (2 * mx + mwidth)))
offset_y=$(((2 * dy + dheight) - (2 * my + mheight)))
((offset_x >= -2 && offset_x <= 2 && offset_y >= -2 && offset_y <= 2)) ||
  fail "the dialog at $dx,$dy ${dwidth}x$dheight is not centred on the main window at $mx,$my ${mwidth}x$mheight"
note "the version dialog opens centred on the main window"
xdotool key Escape
dialog_closed() { [[ -z $(dialog_window) ]]; }
await dialog_closed || fail "the version dialog did not close"

# A click on the first launcher button: the started program inherits the environment as given, nothing more.
menu_height=$((height - 404))
xdotool mousemove --window "$window" $((175 + 3 + 115)) $((menu_height + 3 + 16)) click 1
printed() { grep -q '^XDG_CONFIG_HOME=' "$work/program.out"; }
await printed || fail "the launcher button started nothing"
sort "$work/program.out" >"$work/inherited"
printf '%s\n' "${given[@]}" | sort >"$work/given"
leaked=$(comm -23 "$work/inherited" "$work/given")
[[ -z $leaked ]] || fail "the started program inherited what it was not given: $leaked"
note "a started program inherits nothing of the program's own choice"
