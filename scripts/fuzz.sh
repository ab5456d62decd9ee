#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and UndefinedBehaviorSanitizer)
# in build/fuzz and runs each for the given number of seconds, one after another. New inputs go to
# build/fuzz/corpus/<target>, crashes to build/fuzz/artifacts/; the committed seeds stay untouched.
#   scripts/fuzz.sh [seconds] [target ...]     (default 60 seconds, every target)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=(lzss archive listfile path bitmap qga png jpeg icon wave vorbis fontnames); fi

build="$root/build/fuzz"
# The decoding libraries, built with the same instrumentation so the fuzzers see inside them.
"$root/scripts/deps.sh" fuzz
cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 >/dev/null

status=0
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target" "$build/artifacts"
  echo "== fuzz $target for ${seconds}s"
  if ! "$build/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$build/artifacts/$target-" \
       "$build/corpus/$target" "$root/fuzz/corpus/$target" >"$build/$target.log" 2>&1; then
    status=1
    echo "fuzz $target: FAILED, see $build/$target.log"
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+.*DONE|==ERROR|SUMMARY' "$build/$target.log" || true
done
exit $status
