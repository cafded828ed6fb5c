#!/usr/bin/env bash
# make run: says in one line, before anything is built, that the program cannot show its window here.
set -euo pipefail
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display here (DISPLAY and WAYLAND_DISPLAY are unset): run it from a desktop session, or over 'ssh -X'." >&2
  exit 1
fi
