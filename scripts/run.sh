#!/usr/bin/env bash
# Builds Quillgate and starts it. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset release -DQLT_GUI=ON >/dev/null
cmake --build --preset release --target quillgate
exec build/release/src/quillgate "$@"
