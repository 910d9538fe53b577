#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and
# runs every test there. Any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# Set before building too: the build runs the test program to list its tests.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# Debug with light optimisation: quick to compile on two cores, still fast enough to run.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
  -DCMAKE_CXX_FLAGS="-O1 $flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
ninja -C build-asan -j 2

export QT_QPA_PLATFORM=offscreen
cd build-asan
ctest --output-on-failure -j 2 --timeout 600
