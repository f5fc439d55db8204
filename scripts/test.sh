#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs every test: the solver under AddressSanitizer and
# UndefinedBehaviorSanitizer, the event stream over the windows under both, the fuzz targets,
# the Debian package (built, installed, run and removed again), then the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

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
QT_QPA_PLATFORM=offscreen ZORVIK_STREAM_SEED=${STREAM_SEED:-1} \
    ZORVIK_STREAM_ACTIONS=${STREAM_ACTIONS:-20000} build-sanitize-gui/tests/calculator/test_eventstream

fuzz_seconds=${FUZZ_SECONDS:-60}
for fuzzer in build-sanitize/tests/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    seconds=$fuzz_seconds
    # The CSV reader has far fewer paths than the solver: half the time covers them.
    if [ "$name" = fuzz_csv ]; then
        seconds=$(((fuzz_seconds + 1) / 2))
    fi
    echo "Fuzzing $name for ${seconds}s"
    mkdir -p build-sanitize/fuzz-artifacts
    if ! "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix=build-sanitize/fuzz-artifacts/ >build-sanitize/"$name".log 2>&1; then
        tail -n 60 build-sanitize/"$name".log
        echo "$name failed; the input is in build-sanitize/fuzz-artifacts/"
        exit 1
    fi
    grep -E 'stat::number_of_executed_units|stat::new_units_added' build-sanitize/"$name".log
done

bash scripts/package.sh

# Last, so that its summary closes the run.
ctest --test-dir build --output-on-failure -j2
