#!/usr/bin/env bash
# Builds the libFuzzer targets of the byte parsers with clang (AddressSanitizer and UBSan) into
# build-fuzz/ (or $FUZZ_BUILD_DIR) and runs each one for $FUZZ_SECONDS seconds (10 unless set)
# on its corpus in fuzz/corpus/<target>/. Inputs the fuzzer finds go to a scratch folder, never
# into the repository; an input that breaks a target is kept in <build>/findings/<target>/.
# Usage: fuzz.sh [target...]   (all targets when none is named)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-10}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DLRC_FUZZ=ON -DCMAKE_BUILD_TYPE= \
  -DLRC_WARNINGS_AS_ERRORS="$([ "${CI:-}" = "true" ] && echo ON || echo OFF)" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

targets=("$@")
if ((${#targets[@]} == 0)); then
  for corpus in "$root"/fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failed=()
for target in "${targets[@]}"; do
  findings="$build/findings/$target"
  mkdir -p "$scratch/$target" "$findings"
  log="$build/findings/$target.log"
  # -max_total_time bounds the run; -timeout flags one slow input; the outer timeout catches
  # a target that does not stop by itself.
  status=0
  (cd "$findings" && timeout $((seconds + 120)) "$build/fuzz/${target}_fuzzer" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=1 "$scratch/$target" "$root/fuzz/corpus/$target") >"$log" 2>&1 || status=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
  if [ "$status" -eq 0 ]; then
    echo "fuzz $target: clean, ${runs:-?} runs in ${seconds} s (${rate:-?} exec/s)"
  else
    echo "fuzz $target: FAILED (status $status), input kept in $findings; the end of $log:" >&2
    tail -n 30 "$log" >&2
    failed+=("$target")
  fi
done
if ((${#failed[@]})); then
  echo "fuzz targets that failed: ${failed[*]}" >&2
  exit 1
fi
