#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs every test: the unit tests first, then the solver under
# AddressSanitizer and UndefinedBehaviorSanitizer, the event stream over the windows under both,
# the fuzz targets, the Debian package, then the whole suite.
# usage: scripts/test.sh [--package]
# The package step installs the package and removes it again, and with it any zorvik installed
# before: it runs under CI (CI=true) or with --package only, never by surprise on a desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
package=false
[ "${CI:-}" = true ] && package=true
for arg in "$@"; do
    case $arg in
    --package) package=true ;;
    *) echo "usage: scripts/test.sh [--package]" >&2; exit 2 ;;
    esac
done
bash scripts/setup.sh
bash scripts/build.sh

# The unit tests take seconds: a broken relation or batch shows before the long steps.
ctest --test-dir build --output-on-failure -j2 -L unit

# The sanitizer and fuzz build uses clang and leaves the GUI out.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++-14 \
    -DZORVIK_GUI=OFF -DZORVIK_BENCH=OFF -DZORVIK_SANITIZE=ON -DZORVIK_FUZZ=ON >/dev/null
cmake --build build-sanitize
ctest --test-dir build-sanitize --output-on-failure -j2

# The random event stream over the real windows, under the same sanitizers: a build of just that
# test with the GUI on. Qt itself is not sanitized; nothing of it needs suppressing today.
cmake -S . -B build-sanitize-gui -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++-14 \
    -DZORVIK_GUI=ON -DZORVIK_BENCH=OFF -DZORVIK_SANITIZE=ON >/dev/null
cmake --build build-sanitize-gui --target test_eventstream
# A stream of its own on every run unless one is asked for; the seed is printed first, so that a
# run cut short can be replayed too. Under the sanitizers a long stream outlasts Qt Test's
# default limit of 300 s for one test function (50 000 actions took 118-256 s).
stream_seed=${STREAM_SEED:-${ZORVIK_STREAM_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}}
echo "Event stream with seed $stream_seed (STREAM_SEED=$stream_seed replays it)"
QT_QPA_PLATFORM=offscreen ZORVIK_STREAM_SEED=$stream_seed \
    ZORVIK_STREAM_ACTIONS=${STREAM_ACTIONS:-20000} QTEST_FUNCTION_TIMEOUT=${QTEST_FUNCTION_TIMEOUT:-1800000} \
    build-sanitize-gui/tests/calculator/test_eventstream

fuzz_seconds=${FUZZ_SECONDS:-60}
half_seconds=$(((fuzz_seconds + 1) / 2))
# fuzz NAME LOG SECONDS [LIBFUZZER ARGUMENT]...: runs build-sanitize/tests/fuzz/NAME, its log in
# build-sanitize/LOG.log; prints its rate, or the end of the log and stops on a failure.
fuzz() {
    local name=$1 log=$2 seconds=$3
    shift 3
    echo "Fuzzing $log for ${seconds}s"
    mkdir -p build-sanitize/fuzz-artifacts
    if ! build-sanitize/tests/fuzz/"$name" "$@" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix=build-sanitize/fuzz-artifacts/ >build-sanitize/"$log".log 2>&1; then
        tail -n 60 build-sanitize/"$log".log
        echo "$log failed; the input is in build-sanitize/fuzz-artifacts/"
        exit 1
    fi
    grep -E 'stat::number_of_executed_units|stat::new_units_added' build-sanitize/"$log".log
    local units
    units=$(awk '/stat::number_of_executed_units/ { print $2 }' build-sanitize/"$log".log)
    echo "$log: $((units / seconds)) inputs a second"
}
# fresh_corpus NAME: an empty corpus folder, whose path it prints.
fresh_corpus() {
    rm -rf build-sanitize/"$1"
    mkdir -p build-sanitize/"$1"
    echo build-sanitize/"$1"
}

if [ -x build-sanitize/tests/fuzz/fuzz_solver ]; then
    fuzz fuzz_solver fuzz_solver "$fuzz_seconds"

    # The CSV reader has far fewer paths than the solver: half the time covers them, twice over.
    # Long inputs reach past a batch of 256 rows and a read of 64 KiB, but each solves hundreds of
    # rows, so they come a dozen a second; short ones, hundreds a second, try the reader's and the
    # header's cases many times more. Both take the dictionary, which gives them the header names
    # and the bytes that matter, which random bytes seldom spell.
    # libFuzzer's length control kept inputs under 200 bytes after ten minutes, and without it
    # they grow only a few hundred bytes a minute: for the long run it is off, and a seed of 300
    # rows and 70 KB (first byte: pieces of 1, detected commas) starts the corpus past a batch and
    # a read, in the input's column order for half its mutations.
    corpus=$(fresh_corpus fuzz-csv-corpus)
    {
        printf '\000txtidiam,txtfeed,txtlen\n'
        for i in $(seq 300); do
            printf '%d,"0,%s",%d\n' $((i + 10)) "$(printf '%0220d' $i)" $((i % 97))
        done
    } >"$corpus/batch-and-read"
    fuzz fuzz_csv fuzz_csv "$half_seconds" -dict=tests/fuzz/csv.dict -max_len=100000 \
        -len_control=0 "$corpus"
    fuzz fuzz_csv fuzz_csv_short "$half_seconds" -dict=tests/fuzz/csv.dict -max_len=1024 \
        "$(fresh_corpus fuzz-csv-short-corpus)"

    # The job reader: the dictionary spells the format's keys, and a seed of a sound job with
    # every kind of member starts the corpus past the refusals.
    corpus=$(fresh_corpus fuzz-job-corpus)
    cp tests/fuzz/job-seed.zorvik "$corpus/"
    fuzz fuzz_job fuzz_job "$half_seconds" -dict=tests/fuzz/job.dict "$corpus"
fi

if $package; then
    bash scripts/package.sh
else
    echo "Package step left out (it removes an installed zorvik): run with --package or CI=true"
fi

# Last, so that its summary closes the run.
ctest --test-dir build --output-on-failure -j2
