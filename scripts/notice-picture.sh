#!/usr/bin/env bash
# Draws the new-mail notice with an X-rated message hidden, as the tests'
# notification service received it, to docs/redacted-notice.png. Needs a built
# GUI test program: scripts/notice-picture.sh [build folder].
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/dev}"
tests="$build/tests/qlt_gui_tests"
[ -x "$tests" ] || { echo "no GUI test program at $tests: build it first" >&2; exit 1; }
out="$PWD/docs/redacted-notice.png"
rm -f "$out"
QLT_NOTICE_PICTURE="$out" bash tests/gui/with-notices.sh "$tests" >/dev/null
[ -s "$out" ] || { echo "no picture was drawn" >&2; exit 1; }
echo "$out"
