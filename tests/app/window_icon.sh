#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real executable on its own X server: its main window carries the program's icon in the
# sizes title bars and task bars ask for, and the window class its desktop entry names, so a
# desktop puts the running window under the entry's icon.
# Usage: window_icon.sh ZORVIK DESKTOP_ENTRY
set -euo pipefail
if [ "${1:-}" != --inside ]; then
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    exec timeout 90 xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
        env QT_QPA_PLATFORM=xcb bash "$0" --inside "$@"
fi
zorvik=$2
entry=$3
fail() { echo "window_icon: $*" >&2; exit 1; }

# Its own state directory: a recovery file a killed session left would ask to be restored.
data=$(mktemp -d)
XDG_STATE_HOME=$data "$zorvik" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true; rm -rf "$data"' EXIT
window=""
for _ in $(seq 150); do
    window=$(xwininfo -root -tree | awk '/"Zorvik - Machining Engineer"/ { print $1; exit }')
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || fail "the main window did not appear"
properties=$(xprop -id "$window" _NET_WM_ICON WM_CLASS)
for side in 16 24 32 48; do
    grep -q "Icon ($side x $side)" <<<"$properties" || fail "no $side x $side window icon"
done
class=$(sed -n 's/^StartupWMClass=//p' "$entry")
grep -qx "WM_CLASS(STRING) = \".*\", \"$class\"" <<<"$properties" ||
    fail "the window class is not the entry's $class: $(grep WM_CLASS <<<"$properties")"
echo "window_icon: the main window has the program's icon and the class $class"
