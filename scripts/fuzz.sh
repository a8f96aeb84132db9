#!/usr/bin/env bash
# Builds the libFuzzer programs (clang, address and undefined sanitizers) and
# runs each one for a bounded time; any crash, leak, sanitizer report or slow
# input fails the run and leaves the input in build/fuzz/crashes/.
#   scripts/fuzz.sh [seconds per program] [program ...]
# Seeds: fuzz/seeds/<program>/ (made by fuzz/make-seeds.py) and the message
# fixtures; what a run learns stays in build/fuzz/corpus/<program>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
shift || true

cmake --preset fuzz -DQLT_WERROR=ON >/dev/null
cmake --build --preset fuzz

programs=("$@")
if [ ${#programs[@]} -eq 0 ]; then
  for source in fuzz/*Fuzz.cpp; do programs+=("$(basename "$source" .cpp)"); done
fi

message_fed=" FillAndRateFuzz HtmlToTextFuzz HeaderFieldsFuzz MultipartFuzz DecodeBase64Fuzz UnescapeLinksFuzz "
mkdir -p build/fuzz/crashes
total=0
for program in "${programs[@]}"; do
  corpus="build/fuzz/corpus/$program"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/seeds/$program" ] && seeds+=("fuzz/seeds/$program")
  [[ "$message_fed" == *" $program "* ]] && seeds+=("tests/data/messages")
  log="build/fuzz/$program.log"
  if ! "build/fuzz/fuzz/$program" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="build/fuzz/crashes/$program-" \
      "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "FAILED: $program (input kept in build/fuzz/crashes/)" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  total=$((total + runs))
  printf '%-22s %12s runs\n' "$program" "$runs"
done
printf '%-22s %12s runs\n' "all" "$total"
