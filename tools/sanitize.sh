#!/bin/sh
# The project and its tests with address and undefined-behaviour checks (build-asan, the
# whole suite), then with thread checks (build-tsan, the tests labelled `threads`).
# The normal build folder is not touched. Suppressions: tools/sanitizers/.
# SANITIZE_ONLY=address or SANITIZE_ONLY=thread runs one half.
set -eu
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
supp=$(pwd)/tools/sanitizers
export QT_QPA_PLATFORM=offscreen

# configure FOLDER SANITIZERS
configure() {
    mkdir -p "$1"
    # A tree configured for another compiler starts again.
    if [ -f "$1/CMakeCache.txt" ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang++-14' "$1/CMakeCache.txt"; then
        rm -rf "$1/CMakeCache.txt" "$1/CMakeFiles"
    fi
    # -O1 and line tables only: the checks and their stack traces need no more, and
    # the instrumented trees build in about half the time. No bench, man pages or icons.
    # clang (already there for the fuzz targets) compiles these trees in about 60 % of
    # gcc's CPU time; the normal build stays on gcc, so both compilers see the code.
    CC=clang-14 CXX=clang++-14 cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYX_SANITIZE="$2" \
        -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
        -DTALLYX_BENCH=OFF -DTALLYX_TOOLS=OFF -DTALLYX_WERROR=OFF \
        >"$1/configure.log" 2>&1 || { cat "$1/configure.log" >&2; exit 1; }
}

# build FOLDER [TARGET...]
build() {
    folder=$1
    shift
    set -- $(for t in "$@"; do printf -- '--target %s ' "$t"; done)
    cmake --build "$folder" -j"$jobs" "$@" >"$folder/build.log" 2>&1 ||
        { tail -40 "$folder/build.log" >&2; exit 1; }
}

only=${SANITIZE_ONLY:-}

if [ "$only" != thread ]; then
    start=$(date +%s)
    configure build-asan address,undefined
    build build-asan
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1
    export LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=suppressions=$supp/ubsan.supp:print_stacktrace=1:halt_on_error=1
    (cd build-asan && ctest --output-on-failure -j"$jobs" --timeout 600)
    echo "sanitize: address,undefined passed in $(($(date +%s) - start)) s"
fi

[ "$only" = address ] && exit 0
start=$(date +%s)
configure build-tsan thread
# Only the tests that run threads, and what they need.
tests=$(cd build-tsan && ctest -N -L threads | sed -n 's/^ *Test *#[0-9]*: *//p')
[ -n "$tests" ] || { echo "sanitize: no test labelled threads" >&2; exit 1; }
build build-tsan $tests
export TSAN_OPTIONS=suppressions=$supp/tsan.supp:halt_on_error=1:second_deadlock_stack=1
(cd build-tsan && ctest --output-on-failure -j"$jobs" --timeout 600 -L threads)
echo "sanitize: thread passed in $(($(date +%s) - start)) s ($(echo $tests | wc -w) test programs)"
