#!/usr/bin/env bash
# Builds (if needed) and runs one libFuzzer target of fuzz/ for a number of seconds:
#   bash scripts/fuzz.sh TARGET [SECONDS] [libFuzzer options...]     e.g. define_text 300
#   bash scripts/fuzz.sh all [SECONDS]                                 every target in turn
# SECONDS 0 only runs the seeds and what earlier runs kept, once each (a quick regression check).
# The seeds in fuzz/corpus/TARGET/ are read, never written; new inputs go to
# build-fuzz/corpus/TARGET/ and an input that fails to build-fuzz/crashes/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:?usage: fuzz.sh TARGET [SECONDS] [libFuzzer options...]}
seconds=${2:-60}
shift $(( $# >= 2 ? 2 : 1 ))

if [ "$target" = all ]; then
  for source in fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    bash "$0" "${name#fuzz_}" "$seconds" "$@"
  done
  exit 0
fi

[ -f "fuzz/fuzz_$target.cpp" ] || { echo "no fuzz target fuzz/fuzz_$target.cpp" >&2; exit 2; }

bash scripts/install-deps.sh
if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPLENDOR_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
fi
ninja -C build-fuzz -j 2 "fuzz_$target"

# Absolute paths: a target may change its working folder.
work=$PWD/build-fuzz/corpus/$target
crashes=$PWD/build-fuzz/crashes/$target
mkdir -p "$work" "$crashes"
options=(-timeout=10 -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$crashes/")
# A server and a connection per input: the exchange target is slow, and short runs are its purpose.
if [ "$target" = http_response ] && [ "$seconds" -gt 30 ]; then
  seconds=30
fi
if [ "$seconds" = 0 ]; then
  options+=(-runs=0)
else
  options+=(-max_total_time="$seconds")
fi
[ -f "fuzz/$target.dict" ] && options+=(-dict="$PWD/fuzz/$target.dict")

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen
seeds=()
[ -d "fuzz/corpus/$target" ] && seeds+=("$PWD/fuzz/corpus/$target")
exec "build-fuzz/fuzz/fuzz_$target" "${options[@]}" "$@" "$work" "${seeds[@]}"
