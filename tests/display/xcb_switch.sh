#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The application on the xcb platform against a private Xvfb screen of 1024x768:
#   close   with an 800x600 mode: switched at start, restored when the close box is used
#   exit    with an 800x600 mode: switched at start, restored by File > Exit (Ctrl+Q)
#   sigterm, sigint, sighup: the same, restored when that signal ends the program
#   xlost   the X server goes away under it: the program ends, without hanging or spinning
#   xkill   its X connection is closed while the server runs on (xkill): the program ends with
#           status 1 and the screen is restored all the same
#   nomode  without such a mode: the screen is left as it is
#   already at 800x600 before the start: still 800x600 while running and after the close
# Each switch sets the output's mode at most once, and the screen size only where it changes:
# every other X client sees each of those as a change.
# usage: xcb_switch.sh ZORVIK XWINDOWCONTROL XRANDRCALLS.SO
#        close|exit|sigterm|sigint|sighup|xlost|xkill|nomode|already
zorvik=$1
control=$2
calls=$3
how=$4
source "$(dirname "$0")/xvfb.sh"

title="Zorvik - Machining Engineer"
start_xvfb
[ "$how" = nomode ] || add_800x600
start_size=1024x768
if [ "$how" = already ]; then
    xrandr -s 800x600
    start_size=800x600
fi
expect_screen "$start_size" "before start"

# Its own state directory: a recovery file a killed session left would ask to be restored.
QT_QPA_PLATFORM=xcb LD_PRELOAD="$calls" ZORVIK_XRANDR_LOG="$work/xrandr-calls.log" \
    XDG_STATE_HOME="$work/data" "$zorvik" >"$work/zorvik.log" 2>&1 &
app=$!
cleanup_steps+=("kill $app 2>/dev/null")
"$control" wait "$title" || fail "the main window did not appear"
if [ "$how" = nomode ]; then
    expect_screen 1024x768 "running"
else
    expect_screen 800x600 "running"
fi

case "$how" in
exit) "$control" ctrl-q "$title" ;;
sigterm | sigint | sighup) kill "-${how#sig}" "$app" ;;
xlost)
    kill "$xvfb_pid"
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
    rc=0
    wait_for_exit "$app" 10 || rc=$?
    [ "$rc" -ne 124 ] || fail "zorvik still ran 10 s after the X server went away"
    echo "xcb xlost: zorvik ended with $rc"
    exit 0
    ;;
xkill) "$control" kill "$title" ;;
*) "$control" close "$title" ;;
esac
rc=0
wait_for_exit "$app" 30 || rc=$?
want_rc=0
[ "$how" != xkill ] || want_rc=1
[ "$rc" -eq "$want_rc" ] || fail "zorvik ended with $rc"
expect_screen "$start_size" "after close"
[ ! -s "$work/zorvik.log" ] || { echo "--- zorvik output"; cat "$work/zorvik.log"; }

# Requests over both switches: the mode is set once per switch (the restore of a mode that did
# not change still sets it), the screen size once for each size that differs.
case "$how" in
close | exit | sigterm | sigint | sighup | xkill) want="2 2" ;;
nomode) want="1 0" ;;
already) want="2 0" ;;
esac
requests() { grep -c "^$1 " "$work/xrandr-calls.log" || true; }
touch "$work/xrandr-calls.log"
cat "$work/xrandr-calls.log"
got="$(requests XRRSetCrtcConfig) $(requests XRRSetScreenSize)"
[ "$got" = "$want" ] || fail "mode and screen-size requests: $got, expected $want"
echo "xcb $how: passed"
