#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real zorvik-solve --csv where a batch used to lose rows or cut one in half: cells at the
# 1 MiB limit, input that cannot be read, a reader that goes away, a stop signal (also while a
# reader does not read), memory that runs out, a process limit on threads, CR line ends; then
# the same output for any --jobs on random pages of every operation, and each row against the
# single solve of its page.
# Usage: batch_reliability.sh ZORVIK_SOLVE [ROWS [SINGLES]]  (ROWS random rows per operation, the
# first SINGLES of them solved singly too; the seed is BATCH_SEED, taken at random and printed
# when not given)
set -euo pipefail
solve=$1
rows=${2:-100000}
singles=${3:-50}
seed=${BATCH_SEED:-$((RANDOM * 32768 + RANDOM))}
echo "batch reliability: $rows rows per operation, $singles solved singly, BATCH_SEED=$seed"
# LeakSanitizer, in a sanitizer build, cannot run under strace.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
source "$(dirname "$0")/../support/checks.sh"

# A long batch: the turning page of the README with 100 000 feeds.
awk 'BEGIN { print "Job,txtidiam,txtfdiam,txtlen,txtangle,txtcspeed,txtfeed"
             for (i = 0; i < 100000; i++)
                 printf "J%d,%d,40,100,90,150,0.%d\n", i, 50 + i % 50, 1 + i % 9 }' \
    >"$work/long.csv"
"$solve" longitudinal --csv "$work/long.csv" --keep Job --jobs 1 >"$work/long.out"
expect "long batch, rows out" "$(wc -l <"$work/long.out")" 100001

# --- Cells of exactly 1 MiB are read; one byte more stops the run on that cell's line.
cell() { head -c "$1" /dev/zero | tr '\0' x; }
for size in 1048576 1048577; do
    { echo "Job,txtidiam"; echo "A,50"; printf 'B,"%s"\n' "$(cell $size)"; echo "C,60"; } \
        >"$work/cell.csv"
    run cell "$solve" face --csv "$work/cell.csv" --keep Job
    if [ $size -eq 1048576 ]; then
        expect "1 MiB cell, status" $status 0
        expect "1 MiB cell, rows out" "$(wc -l <"$work/cell.out")" 4
    else
        expect "1 MiB + 1 cell, status" $status 1
        expect "1 MiB + 1 cell, message" "$(cat "$work/cell.err")" \
            "zorvik-solve: line 3: a cell longer than 1 MiB (an unclosed quote?)"
        expect "1 MiB + 1 cell, rows out" "$(cut -d, -f1 "$work/cell.out" | tr '\n' ' ')" "Job A "
    fi
done

# --- Input that cannot be read: a directory, and a read that fails part-way.
run dir "$solve" face --csv <"$work"
expect "directory on stdin, status" $status 1
expect "directory on stdin, message" "$(cat "$work/dir.err")" \
    "zorvik-solve: the input could not be read to its end"
expect "directory on stdin, output" "$(wc -c <"$work/dir.out")" 0
# Every read from the input's tenth on fails; the reads before the input's first (the loader's,
# a sanitizer's) are counted on a run without the fault.
strace -o "$work/reads" -e trace=read "$solve" longitudinal --csv --keep Job --jobs 2 \
    </dev/null >/dev/null 2>&1 || true
first=$(awk '/^read\(0,/ { print NR; exit }' "$work/reads")
run eio strace -o /dev/null -e trace=read -e inject=read:error=EIO:when=$((first + 9))+ \
    "$solve" longitudinal --csv --keep Job --jobs 2 <"$work/long.csv"
expect "read error, status" $status 1
expect "read error, message" "$(cat "$work/eio.err")" \
    "zorvik-solve: the input could not be read to its end"
verify "read error: the output is whole rows of the full output" \
    prefix_of "$work/eio.out" "$work/long.out"
verify "read error: not every row came out" [ "$(wc -l <"$work/eio.out")" -lt 100001 ]

# --- A reader that goes away: SIGPIPE ends the tool as it ends other filters, quietly, unless
# it is ignored, when the failed write is reported.
set +e
"$solve" longitudinal --csv "$work/long.csv" --keep Job 2>"$work/pipe.err" |
    head -1 >"$work/pipe.out"
status=${PIPESTATUS[0]}
set -e
expect "| head -1, status" $status 141
expect "| head -1, stderr" "$(cat "$work/pipe.err")" ""
expect "| head -1, line" "$(cat "$work/pipe.out")" "$(head -1 "$work/long.out")"
set +e
bash -c 'trap "" PIPE; "$0" longitudinal --csv "$1" --keep Job 2>"$2" | head -1 >/dev/null
         exit "${PIPESTATUS[0]}"' "$solve" "$work/long.csv" "$work/pipe.err"
status=$?
set -e
expect "| head -1 with SIGPIPE ignored, status" $status 1
expect "| head -1 with SIGPIPE ignored, message" "$(cat "$work/pipe.err")" \
    "zorvik-solve: the output could not be written"

# --- SIGTERM: the rows in hand come out whole, then the process ends by the signal. Waiting for
# more input, every row before the wait is written.
# Once $work/term.out has $2 lines, sends SIGTERM to process $1 and sets status to how it ended.
terminate_at() {
    for _ in $(seq 3000); do
        [ "$(wc -l <"$work/term.out")" -ge "$2" ] && break
        sleep 0.02
    done
    kill -TERM "$1"
    status=0
    wait "$1" || status=$?
}
mkfifo "$work/fifo"
"$solve" longitudinal --csv --keep Job --jobs 2 <"$work/fifo" >"$work/term.out" &
pid=$!
exec 3>"$work/fifo"
head -n 30001 "$work/long.csv" >&3
terminate_at $pid 30001
exec 3>&-
expect "SIGTERM waiting for input, status" $status 143
verify "SIGTERM waiting for input: the output is the 30 000 rows read" \
    cmp -s "$work/term.out" <(head -n 30001 "$work/long.out")
# Busy solving rows that never end: whatever came out is whole rows.
sed -n 2p "$work/long.out" >"$work/row"
{
    head -1 "$work/long.csv"
    yes "$(sed -n 2p "$work/long.csv")"
} |
    "$solve" longitudinal --csv --keep Job --jobs 2 >"$work/term.out" &
pid=$!
terminate_at $pid 1000
expect "SIGTERM while solving, status" $status 143
expect "SIGTERM while solving, rows other than the first page's" \
    "$(tail -n +2 "$work/term.out" | grep -cvxF -f "$work/row")" 0
verify "SIGTERM while solving: the output ends on a line end" \
    [ "$(tail -c 1 "$work/term.out" | od -An -c | tr -d ' ')" = '\n' ]

# --- A reader that is there but does not read (a paused pager): a stop signal still ends the
# tool within a second, and what the reader then finds in the pipe is whole rows.
for signal in TERM HUP; do
    rm -f "$work/stall"
    mkfifo "$work/stall"
    "$solve" longitudinal --csv "$work/long.csv" --keep Job --jobs 2 >"$work/stall" &
    pid=$!
    exec 4<"$work/stall"
    sleep 1
    start=$(date +%s%N)
    kill -$signal $pid
    status=0
    wait $pid || status=$?
    elapsed=$((($(date +%s%N) - start) / 1000000))
    cat <&4 >"$work/stall.out"
    exec 4<&-
    expect "SIG$signal to a writer the reader does not read, status" $status \
        $((128 + $(kill -l $signal)))
    verify "SIG$signal to a writer the reader does not read: ended within a second" \
        [ $elapsed -lt 1000 ]
    verify "SIG$signal to a writer the reader does not read: the pipe holds whole rows" \
        prefix_of "$work/stall.out" "$work/long.out"
done

# --- Memory that runs out, under a limit of 15 MB of address space: with eight jobs on the long
# batch, and with cells of nearly 1 MiB at one job, the tool stops on a row and says so, after
# whole rows, instead of aborting. A sanitizer build, which reserves far more, does not start
# under the limit, and skips it.
cell 1048000 >"$work/mib"
{
    echo "Job,txtidiam"
    for i in $(seq 40); do echo "$(cat "$work/mib"),5$i"; done
} >"$work/big.csv"
if (ulimit -v 15000 && "$solve" --help >/dev/null 2>&1); then
    for case in "long.csv longitudinal 8" "big.csv face 1"; do
        read -r file operation jobs <<<"$case"
        "$solve" "$operation" --csv "$work/$file" --keep Job --jobs 1 >"$work/whole.out"
        run memory bash -c 'ulimit -v 15000 && exec "$@"' - "$solve" "$operation" --csv \
            "$work/$file" --keep Job --jobs "$jobs"
        verify "$file, --jobs $jobs in 15 MB: status 0 or 1, not an abort ($status)" \
            [ $status -le 1 ]
        if [ $status -eq 1 ]; then
            verify "$file, --jobs $jobs in 15 MB: one line naming the row" \
                grep -qx 'zorvik-solve: line [0-9]*: the row could not be solved (.*)' \
                "$work/memory.err"
        fi
        verify "$file, --jobs $jobs in 15 MB: whole rows of the full output" \
            prefix_of "$work/memory.out" "$work/whole.out"
    done
fi

# --- --jobs: a thread that cannot start leaves the work to those that did. The limit binds
# only a user without the right to pass it, so root runs the tool as nobody.
cp "$solve" "$work/zorvik-solve"
chmod 755 "$work" "$work/zorvik-solve"
as_limited=(prlimit --nproc=1)
[ "$(id -u)" -ne 0 ] ||
    as_limited=(setpriv --reuid=nobody --regid=nogroup --clear-groups "${as_limited[@]}")
run nproc "${as_limited[@]}" "$work/zorvik-solve" longitudinal --csv --keep Job --jobs 8 \
    <"$work/long.csv"
expect "--jobs 8 under a process limit, status" $status 0
verify "--jobs 8 under a process limit: the same output" cmp -s "$work/nproc.out" "$work/long.out"
for jobs in 100000 99999999999999999999; do
    expect "--jobs $jobs, one row" \
        "$(printf 'txtidiam\n50\n' | "$solve" face --csv --jobs $jobs | wc -l)" 2
done

# --- CR line ends: each is a line, so a bad row is named by its own line.
printf 'txtidiam,txtfeed\r50,0.2\r"6\r0",0.1\r70\r80,0.3\r' >"$work/cr.csv"
run cr "$solve" face --csv "$work/cr.csv"
expect "CR line ends, status" $status 1
expect "CR line ends, message" "$(grep -v warning "$work/cr.err")" \
    "zorvik-solve: line 5: 1 cell where the header has 2"
expect "CR line ends, rows out" "$(wc -l <"$work/cr.out")" 3

# --- Random pages of every operation: the output is the same for any --jobs, and each of the
# first rows equals the single solve of its page.
operations=$("$solve" --help | sed -n 's/^operations: //p' | sed 's/ (or [a-z]*)//g; s/,//g')
for operation in $operations; do
    "$solve" "$operation" --fields | tail -n +2 | cut -f1 >"$work/fields"
    # Half the fields as columns; cells blank, numbers of several shapes or malformed.
    awk -v rows="$rows" -v seed="$seed" -v op="$operation" '
        { field[NR] = $1 }
        END {
            srand(seed + length(op) * 7919)
            n = 0
            for (i = 1; i <= NR; i++) if (rand() < 0.5) column[++n] = field[i]
            if (n == 0) column[++n] = field[1]
            split("abc| 7|-3|0|1e3|1..2|0.5mm|.5", odd, "|")
            for (i = 1; i <= n; i++) printf "%s%s", column[i], i < n ? "," : "\n"
            for (r = 0; r < rows; r++) {
                for (i = 1; i <= n; i++) {
                    x = rand()
                    if (x < 0.15) text = ""
                    else if (x < 0.25) text = odd[int(rand() * 8) + 1]
                    else if (x < 0.55) text = int(rand() * 500) + 1
                    else text = sprintf("%.*f", int(rand() * 4), rand() * 2000)
                    printf "%s%s", text, i < n ? "," : "\n"
                }
            }
        }' "$work/fields" >"$work/$operation.csv"
    for jobs in 1 2 8; do
        "$solve" "$operation" --csv "$work/$operation.csv" --jobs $jobs \
            >"$work/$operation.$jobs.out" 2>/dev/null
    done
    for jobs in 2 8; do
        verify "$operation: --jobs $jobs writes the bytes of --jobs 1" \
            cmp -s "$work/$operation.1.out" "$work/$operation.$jobs.out"
    done
    expect "$operation: rows out" "$(wc -l <"$work/$operation.1.out")" $((rows + 1))
    for row in $(seq 2 $((singles + 1))); do
        mapfile -d '' args < <(awk -F, -v row="$row" 'NR == 1 { split($0, name, ",") }
            NR == row { for (i = 1; i <= NF; i++) printf "%s=%s%c", name[i], $i, 0; exit }' \
            "$work/$operation.csv")
        single=$("$solve" "$operation" "${args[@]}" 2>/dev/null | cut -d= -f2- | paste -sd,)
        expect "$operation, line $row against its single solve" \
            "$single" "$(sed -n "${row}{p;q}" "$work/$operation.1.out")"
    done
done

finish batch_reliability
