#!/usr/bin/env bash
# Runs every fuzzer (or the ones named) for the given number of seconds each,
# at most FUZZ_PARALLEL (default 3) at a time.
#
#   tests/fuzz/run.sh [seconds] [target...]
#
# The fuzzers come from a separate clang build folder (FUZZ_BUILD, default
# build-fuzz), configured and built here when missing. New inputs go to
# $FUZZ_BUILD/fuzz-work/<target>/ (the committed corpus is only read), logs
# to $FUZZ_BUILD/fuzz-logs/, and anything that crashes, hangs or runs out of
# memory to $FUZZ_BUILD/fuzz-findings/<target>/. FUZZ_KEEP_GOING=1 keeps a
# fuzzer running after a finding instead of stopping at the first.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds="${1:-600}"
shift || true
build="${FUZZ_BUILD:-build-fuzz}"
parallel="${FUZZ_PARALLEL:-3}"
all=(weather_reply update_file preferences appledouble httpsocket_reply basichttp_reply
     header_block cookie url chunked)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBREEZELING_FUZZ=ON >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# The targets' private folders, gone after the run even when a fuzzer
# crashed and left its own behind.
if [ -z "${FUZZ_SCRATCH:-}" ] && [ -w /dev/shm ]; then
  FUZZ_SCRATCH="$(mktemp -d /dev/shm/breezeling-fuzz-run-XXXXXX)"
  export FUZZ_SCRATCH
  trap 'rm -rf "$FUZZ_SCRATCH"' EXIT
fi

# Words the inputs of a target are made of, to splice in while mutating.
dictionary() {
  case "$1" in
    weather_reply) echo tests/fuzz/dict/weather.dict ;;
    update_file) echo tests/fuzz/dict/update.dict ;;
    preferences) echo tests/fuzz/dict/preferences.dict ;;
    appledouble) echo "" ;;
    *) echo tests/fuzz/dict/http.dict ;;
  esac
}

run_one() {
  local target="$1"
  local work="$build/fuzz-work/$target" findings="$build/fuzz-findings/$target"
  mkdir -p "$work" "$findings" "$build/fuzz-logs"
  local options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
                 -artifact_prefix="$findings/")
  local dict
  dict="$(dictionary "$target")"
  [ -z "$dict" ] || options+=(-dict="$dict")
  if [ "${FUZZ_KEEP_GOING:-0}" = 1 ]; then
    options+=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  fi
  local rc=0
  QT_QPA_PLATFORM=offscreen LSAN_OPTIONS="suppressions=$PWD/tests/fuzz/lsan.supp:print_suppressions=0" \
    "$build/tests/fuzz/fuzz_$target" "${options[@]}" \
    "$work" "tests/fuzz/corpus/$target" >"$build/fuzz-logs/$target.log" 2>&1 || rc=$?
  echo "$rc" >"$build/fuzz-logs/$target.rc"
}

for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  echo "== fuzzing $target for ${seconds}s"
  rm -f "$build/fuzz-logs/$target.rc"
  run_one "$target" &
done
wait

status=0
for target in "${targets[@]}"; do
  if [ "$(cat "$build/fuzz-logs/$target.rc" 2>/dev/null)" = 0 ]; then
    result=clean
  else
    result="FOUND SOMETHING"
    status=1
  fi
  runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz-logs/$target.log" | head -1 | grep -o '[0-9]*$' || true)"
  # A forked run (FUZZ_KEEP_GOING) prints no final statistics; its last
  # progress line carries the count.
  [ -n "$runs" ] || runs="$(grep -oE '^#[0-9]+' "$build/fuzz-logs/$target.log" | tail -1 | tr -d '#' || true)"
  echo "$target: $result, ${runs:-?} executions (log: $build/fuzz-logs/$target.log)"
done
ls -1 "$build"/fuzz-findings/*/* 2>/dev/null || true
exit "$status"
