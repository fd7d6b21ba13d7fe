#!/usr/bin/env bash
# Starts the viewer. Without a display it runs under a virtual X server, waits for the main
# window, saves a screenshot, closes the viewer and prints where the picture is.
set -euo pipefail
viewer=$1
shot=$2
title="Electronic Annex / KAV Data Viewer"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$viewer"
fi

export viewer shot title
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$viewer" & pid=$!
  for _ in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then break; fi
    if ! kill -0 "$pid" 2>/dev/null; then echo "The viewer ended before its window appeared." >&2; exit 1; fi
    sleep 0.1
  done
  sleep 1
  # The whole screen, so that a dialog over the window is in the picture too, less the empty border.
  import -window root -trim "$shot"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
'
echo "Screenshot: $shot"
