#!/usr/bin/env bash
# Builds everything and runs every test: the whole suite with warnings as errors,
# then the engine tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then a short run of every fuzz program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/check-format.sh

cmake --preset dev -DQLT_WERROR=ON
cmake --build --preset dev
ctest --preset dev --timeout 300 -j2

cmake --preset asan -DQLT_WERROR=ON
cmake --build --preset asan
ctest --preset asan --timeout 300 -j2

# Every fuzz program for a short bounded time on its seeds.
bash scripts/fuzz.sh 10
