#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts Zorvik-Engineer. Without a display it runs the application on a
# virtual X display instead, waits until the New Project dialog has slid in, saves a screenshot
# and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
app=build/app/zorvik

if [ -n "${WAYLAND_DISPLAY:-}" ] || { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
    exec "$app" "$@"
fi

echo "No display found: starting Zorvik-Engineer on a virtual X display (Xvfb)."
mkdir -p out
exec timeout 120 xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
    env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$app" --screenshot="$PWD/out/zorvik-start.png"
