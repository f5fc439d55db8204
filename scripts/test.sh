#!/usr/bin/env bash
# Sets up, builds and runs every test: the solver under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz targets, then the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

# The sanitizer and fuzz build uses clang and leaves the GUI out.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++-14 \
    -DZORVIK_GUI=OFF -DZORVIK_BENCH=OFF -DZORVIK_SANITIZE=ON -DZORVIK_FUZZ=ON >/dev/null
cmake --build build-sanitize
ctest --test-dir build-sanitize --output-on-failure -j2

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

ctest --test-dir build --output-on-failure -j2
