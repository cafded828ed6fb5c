#!/usr/bin/env bash
# Checks a built package: what it installs and depends on; lintian, appstreamcli and desktop-file-validate on it;
# then the program unpacked from it (a read-only tree, as installed) is started under a private X server by a user
# who may not write its folder, toggles an option from its menu, and the setting must land in that user's data folder.
# As root it runs as nobody and as root; otherwise as the calling user.
# Usage: PackageTest.sh <package.deb>
set -euo pipefail

# The run itself, under xvfb-run: starts the program, presses Alt+T Enter (the first item of the ツール menu, a
# toggle) and waits for the settings file. Usage: PackageTest.sh --toggle <program> <home> <runtime> [as-user...]
if [[ ${1:-} == --toggle ]]; then
  program=$2 home=$3 runtime=$4
  shift 4
  "$@" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
    "$program" >"$runtime/program.log" 2>&1 &
  pid=$!
  settings=$home/.config/ナギトリ/nagitori.ini
  status=1
  if window=$(timeout 30 xdotool search --sync --onlyvisible --classname '^nagitori$' | head -n 1) && [[ -n $window ]]; then
    xdotool windowfocus --sync "$window"
    sleep 0.5
    xdotool key alt+t
    sleep 0.5
    xdotool key Return
    for _ in $(seq 50); do
      [[ -s $settings ]] && { status=0; break; }
      sleep 0.2
    done
  else
    echo "the program's window did not appear" >&2
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [[ $status -eq 0 ]] || cat "$runtime/program.log" >&2
  exit "$status"
fi

deb=$(realpath -- "$1")
work=$(mktemp -d)
cleanup() {
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

root=$work/root
dpkg-deb -x "$deb" "$root"

# What it installs.
expected=(
  usr/bin/nagitori
  usr/lib/nagitori/libnagitori_program.so
  usr/lib/nagitori/nagitori
  usr/lib/nagitori/readme.txt
  usr/share/applications/nagitori.desktop
  usr/share/icons/hicolor/scalable/apps/nagitori.svg
  usr/share/metainfo/org.example.nagitori.metainfo.xml
  usr/share/man/man1/nagitori.1.gz
  usr/share/doc/nagitori/copyright
  usr/share/doc/nagitori/changelog.gz
  usr/share/lintian/overrides/nagitori
)
for size in 16 22 24 32 48 64 128 256; do
  png=usr/share/icons/hicolor/${size}x$size/apps/nagitori.png
  expected+=("$png")
  if [[ -f $root/$png && $(file -b "$root/$png") != *"PNG image data, $size x $size,"* ]]; then
    fail "/$png is not a $size x $size PNG: $(file -b "$root/$png")"
  fi
done
for file in "${expected[@]}"; do
  [[ -e $root/$file ]] || fail "the package lacks /$file"
done
[[ $(readlink "$root/usr/bin/nagitori") == ../lib/nagitori/nagitori ]] ||
  fail "/usr/bin/nagitori links to '$(readlink "$root/usr/bin/nagitori")'"
grep -qx 'Exec=/usr/lib/nagitori/nagitori' "$root/usr/share/applications/nagitori.desktop" ||
  fail "the menu entry does not start /usr/lib/nagitori/nagitori"
unexpected=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | grep -vxF -f <(printf '%s\n' "${expected[@]}") || true)
[[ -z $unexpected ]] || fail "the package holds files nobody expects: $unexpected"

# What it needs at run time: the libraries it links, the SVG plugins and a font with Japanese.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libglib2.0-0 libqt6svg6 fonts-noto-cjk; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done

# Debian's own checks: no error and no warning.
echo "lintian:"
lintian --fail-on error,warning --display-info "$deb" || fail "lintian finds errors or warnings"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.nagitori.metainfo.xml" ||
  fail "appstreamcli rejects the metainfo"
if ! report=$(desktop-file-validate "$root/usr/share/applications/nagitori.desktop" 2>&1) || [[ -n $report ]]; then
  fail "desktop-file-validate: $report"
fi

# Installed files are root's and read-only to everyone else: so is the unpacked tree, whoever runs this.
chmod -R a-w "$root"
before=$(cd "$root" && find . | sort)

# <name> [as-user...]: runs the program as that user and checks where its setting went.
run_as() {
  local name=$1
  shift
  local home=$work/home-$name runtime=$work/runtime-$name
  mkdir -p "$home" "$runtime"
  chmod 700 "$home" "$runtime"
  if [[ $# -gt 0 ]]; then
    chown nobody:nogroup "$home" "$runtime"
  fi
  if ! xvfb-run -a -n 50 -s '-ac -screen 0 1024x768x24' \
    "$0" --toggle "$root/usr/bin/nagitori" "$home" "$runtime" "$@"; then
    fail "as $name, the toggle wrote no settings file in $home/.config/ナギトリ/"
    return
  fi
  local written
  written=$(cat "$home/.config/ナギトリ/nagitori.ini")
  [[ $written == $'[ToolRunOption]\nGiveAdministrator=1' ]] || fail "as $name, the settings file holds: $written"
  [[ $(stat -c %a "$home/.config") == 700 ]] || fail "as $name, ~/.config was made with mode $(stat -c %a "$home/.config")"
}
if [[ $(id -u) -eq 0 ]]; then
  run_as nobody setpriv --reuid=nobody --regid=nogroup --clear-groups
  run_as root
else
  run_as "$(id -un)"
fi
[[ $(cd "$root" && find . | sort) == "$before" ]] || fail "running the program changed its installed tree"

if [[ $failures -gt 0 ]]; then
  exit 1
fi
echo "package contents, lintian, AppStream data, menu entry and a normal user's settings are sound"
