# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the display checks. Gives each check a private Xvfb screen of 1024x768 at 24 bits
# on a free display number, killed when the check ends; other displays are never touched.
set -euo pipefail

work=$(mktemp -d)
xvfb_pid=""
cleanup_steps=()

cleanup() {
    local step
    for step in "${cleanup_steps[@]}"; do eval "$step" || true; done
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -n 30 "$log"; }
    done
    exit 1
}

# Xvfb keeps modes added by xrandr only with -noreset, and can only shrink below this size.
start_xvfb() {
    unset WAYLAND_DISPLAY XAUTHORITY
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 \
        3>"$work/display-number" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local i
    for i in $(seq 200); do
        [ -s "$work/display-number" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
        sleep 0.1
    done
    [ -s "$work/display-number" ] || fail "Xvfb gave no display number"
    export DISPLAY=":$(head -n 1 "$work/display-number")"
    xdpyinfo >/dev/null 2>&1 || fail "cannot reach Xvfb on $DISPLAY"
}

output_name() {
    xrandr | awk '/ connected/ && !seen { print $1; seen = 1 }'
}

add_800x600() {
    xrandr --newmode 800x600 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
    xrandr --addmode "$(output_name)" 800x600
}

screen_size() {
    xdpyinfo | awk '/dimensions:/ && !seen { print $2; seen = 1 }'
}

current_mode() {
    xrandr | awk '/\*/ && !seen { print $1; seen = 1 }'
}

expect_screen() {
    local want=$1 when=$2 size mode
    size=$(screen_size)
    mode=$(current_mode)
    [ "$size" = "$want" ] || fail "$when: the screen is $size, expected $want"
    [ "$mode" = "$want" ] || fail "$when: the output's mode is $mode, expected $want"
    echo "$when: screen $size, mode $mode"
}

# Waits up to $2 seconds for process $1 to end and gives its exit code.
wait_for_exit() {
    local pid=$1 seconds=$2 i
    for i in $(seq $((seconds * 10))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        return 124
    fi
    local rc=0
    wait "$pid" || rc=$?
    return "$rc"
}
