#!/bin/sh
# Builds the libFuzzer targets of fuzz/ with clang, address and undefined-behaviour checks
# into their own folder, then runs each for FUZZ_SECONDS and prints one line per target.
# Exits non-zero when any target crashed, leaked or timed out; its input is kept in
# BUILD/crashes/NAME/ and the fuzzer's output in BUILD/logs/NAME.log.
set -eu
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD:-build-fuzz}
jobs=${JOBS:-$(nproc)}

mkdir -p "$build"
# -O2 without NDEBUG: the code's own asserts stay on; any undefined behaviour stops the run.
# (-O2 ran the interpreter's target a quarter faster than -O1.)
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" \
    -DCMAKE_C_FLAGS="-fno-sanitize-recover=all" -DCMAKE_CXX_FLAGS="-fno-sanitize-recover=all" \
    -DTALLYX_FUZZ=ON -DTALLYX_SANITIZE=address,undefined \
    -DTALLYX_QT=ON -DTALLYX_BENCH=OFF -DTALLYX_TOOLS=OFF -DTALLYX_WERROR=OFF >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" -j"$jobs" --target fuzz_all >"$build/build.log" 2>&1 ||
    { tail -40 "$build/build.log" >&2; exit 1; }

names=$(sed -n 's/^tallyx_fuzz(\([A-Za-z0-9_]*\).*/\1/p' fuzz/CMakeLists.txt)
failed=0
for name in $names; do
    work="$build/corpus/$name"
    crashes="$build/crashes/$name"
    log="$build/logs/$name.log"
    mkdir -p "$work" "$crashes" "$build/logs"
    set --
    [ -d "fuzz/corpus/$name" ] && set -- "fuzz/corpus/$name"
    [ -f "fuzz/$name.dict" ] && set -- "-dict=fuzz/$name.dict" "$@"
    # shellcheck disable=SC2046
    [ -f "fuzz/$name.flags" ] && set -- $(grep -v '^#' "fuzz/$name.flags") "$@"
    before=$(find "$crashes" -type f | wc -l)
    start=$(date +%s)
    rc=0
    UBSAN_OPTIONS=print_stacktrace=1 "$build/fuzz/fuzz_$name" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashes/" \
        "$work" "$@" >"$log" 2>&1 || rc=$?
    end=$(date +%s)
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    [ -n "$execs" ] || execs=$(sed -n 's/^#\([0-9][0-9]*\).*/\1/p' "$log" | tail -1)
    [ -n "$execs" ] || execs=0
    found=$(( $(find "$crashes" -type f | wc -l) - before ))
    # A run that ended badly without leaving an input still counts as a crash.
    [ "$rc" -ne 0 ] && [ "$found" -eq 0 ] && found=1
    echo "fuzz $name: $execs execs in $((end - start)) s, $found crashes"
    if [ "$found" -ne 0 ]; then
        failed=1
        echo "  $name: see $log; inputs in $crashes/" >&2
        grep -E '^(==[0-9]+==ERROR|SUMMARY|.*property broken|.*runtime error)' "$log" | head -5 >&2 || true
    fi
done
exit "$failed"
