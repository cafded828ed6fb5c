#!/usr/bin/env bash
# The windows under the qt6ct platform theme set to a large font of its own (12 points).
#   usage: ThemeTest.sh screens SCREENSHOTS_PROGRAM   every window, rendered, matches pixel for pixel the same
#                                                     window under qt6ct set to the program's own font
#          ThemeTest.sh windows UI_TESTS_PROGRAM      every window's texts fit (the window tests under the theme)
# Exits 77 (skipped) when qt6ct is not installed.
set -euo pipefail

mode=$1
program=$2
fixtures=$(dirname "$(readlink -f "$0")")

command -v qt6ct >/dev/null || { echo "SKIPPED: qt6ct is not installed (Debian package qt6ct)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"

# Runs the program under qt6ct with the given settings; fails unless the theme was really loaded.
under_qt6ct() {
  local settings=$1 log=$2
  shift 2
  cp -r "$fixtures/$settings" "$work/$settings"
  local status=0
  env QT_QPA_PLATFORM=offscreen QT_QPA_PLATFORMTHEME=qt6ct QT_LOGGING_RULES='qt.qpa.theme.debug=true' \
    XDG_CONFIG_HOME="$work/$settings" XDG_RUNTIME_DIR="$work/runtime" "$program" "$@" >"$log" 2>&1 || status=$?
  if ! grep -q 'Successfully created platform theme "qt6ct"' "$log"; then
    cat "$log" >&2
    echo "FAILED: the qt6ct platform theme did not load" >&2
    exit 1
  fi
  return "$status"
}

case $mode in
  screens)
    under_qt6ct qt6ct-own-font "$work/own.log" "$work/own"
    under_qt6ct qt6ct-large-font "$work/large.log" "$work/large"
    shots=0
    differing=()
    for own in "$work/own"/*.png; do
      shots=$((shots + 1))
      cmp -s "$own" "$work/large/$(basename "$own")" || differing+=("$(basename "$own")")
    done
    ((shots > 0)) || { echo "FAILED: no screenshots were written" >&2; exit 1; }
    if ((${#differing[@]} > 0)); then
      echo "FAILED: the theme's font changed ${differing[*]}" >&2
      exit 1
    fi
    echo "$shots windows render the same under the theme's large font"
    ;;
  windows)
    if ! under_qt6ct qt6ct-large-font "$work/tests.log" --gtest_filter='EveryWindow.*:TextFit.*'; then
      cat "$work/tests.log" >&2
      exit 1
    fi
    grep -E '^\[  (PASSED|SKIPPED) ' "$work/tests.log"
    ;;
  *)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac
