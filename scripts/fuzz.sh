#!/usr/bin/env bash
# Builds the fuzzers of tests/fuzz into build/fuzz (clang, libFuzzer, ASan,
# UBSan) and runs each for a bounded time, starting from the committed seed
# corpus. New inputs go to build/fuzz/corpus-out, crashes to
# build/fuzz/findings. Exits non-zero when any fuzzer finds something.
#   BREVALO_FUZZ_SECONDS   seconds per fuzzer (default 12)
#   scripts/fuzz.sh [name...]   only these fuzzers (e.g. colour)
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$top/build/fuzz
seconds=${BREVALO_FUZZ_SECONDS:-12}
jobs=${BREVALO_JOBS:-2}

cmake -S "$top/tests/fuzz" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
cmake --build "$out" -j "$jobs" >/dev/null || {
    cmake --build "$out" -j 1
    exit 1
}

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for source in "$top"/tests/fuzz/*_fuzz.cpp; do
        name=$(basename "$source" .cpp)
        names+=("${name%_fuzz}")
    done
fi

# Inputs longer than this add nothing a shorter one cannot reach.
declare -A max_len=([commandline]=512 [colour]=32 [datetime]=96 [versionfile]=1100)

passed=0
failed=0
mkdir -p "$out/findings" "$out/logs"
for name in "${names[@]}"; do
    corpus=$out/corpus-out/$name
    mkdir -p "$corpus"
    log=$out/logs/$name.log
    # The first directory receives new inputs; the committed seeds are only read.
    if (cd "$out/findings" && "$out/${name}_fuzz" "$corpus" "$top/tests/fuzz/corpus/$name" \
        -max_total_time="$seconds" -timeout=5 -max_len="${max_len[$name]:-256}" \
        -artifact_prefix="$out/findings/$name-" -print_final_stats=1) >"$log" 2>&1; then
        runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$')
        echo "fuzz: $name ran ${seconds}s, ${runs:-?} inputs, nothing found"
        passed=$((passed + 1))
    else
        echo "fuzz: $name FOUND A FAULT (log $log):" >&2
        grep -E 'ERROR|invariant broken|runtime error|Test unit written' "$log" | head -5 >&2
        failed=$((failed + 1))
    fi
done

echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
