#!/usr/bin/env bash
# Starts the program, or says in one line why it cannot show a window here.
set -euo pipefail
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display here (DISPLAY and WAYLAND_DISPLAY are unset): run it as 'xvfb-run -a make run', or from a desktop session." >&2
  exit 1
fi
exec "$1"
