#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Win32 backend under Wine, which maps the display calls onto a private Xvfb screen:
# switched to 800x600 and back to 1024x768, seen by the program itself and by xdpyinfo, each
# change made for the session only (flags 4, full screen) and the saved settings, which Wine keeps
# in the prefix's registry, never written.
# usage: wine_switch.sh WIN32SWITCHCHECK.EXE WINEPREFIX
exe=$1
export WINEPREFIX=$(realpath -m "$2")
source "$(dirname "$0")/xvfb.sh"

command -v wine >/dev/null || fail "wine is not installed (scripts/setup.sh installs it)"
[ -f "$exe" ] || fail "$exe was not built (needs mingw-w64; scripts/setup.sh installs it)"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
cleanup_steps+=("wineserver -k")

start_xvfb
# Wine offers only the modes the X screen lists.
add_800x600
expect_screen 1024x768 "before start"

mkfifo "$work/go"
wine "$exe" <"$work/go" >"$work/check.log" 2>"$work/wine.log" &
check=$!
exec 3>"$work/go"
for i in $(seq 1200); do
    grep -q '^switched' "$work/check.log" && break
    kill -0 "$check" 2>/dev/null || break
    sleep 0.1
done
grep -q '^switched' "$work/check.log" || fail "the check did not switch"
expect_screen 800x600 "switched"
echo go >&3
exec 3>&-
rc=0
wait_for_exit "$check" 60 || rc=$?
[ "$rc" -eq 0 ] || fail "the check ended with $rc"
expect_screen 1024x768 "restored"

# Wine writes the check's lines as Windows does, ending in CR LF.
sed -i 's/\r$//' "$work/check.log"
cat "$work/check.log"
grep -Eq '^start 1024x768x[0-9]+ ' "$work/check.log" || fail "unexpected start mode"
grep -Eq '^switched 800x600x[0-9]+ ' "$work/check.log" || fail "Wine did not report 800x600"
grep -Eq '^restored 1024x768x[0-9]+ ' "$work/check.log" || fail "Wine did not report 1024x768"
[ "$(grep '^change' "$work/check.log")" = "change 800x600 flags 4
change 1024x768 flags 4" ] || fail "the changes were not one full-screen change each way"
# The prefix outlives a run, so what the saved settings held at the start is what they must hold.
saved=$(sed -n 's/^start .* saved //p' "$work/check.log")
[ -n "$saved" ] || fail "no saved settings reported"
for step in switched restored; do
    grep -Eq "^$step .* saved $saved\$" "$work/check.log" ||
        fail "the saved settings changed by the step $step (were $saved at the start)"
done
echo "wine: passed"
