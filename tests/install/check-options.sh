#!/usr/bin/env bash
# check-options.sh BIN_DIR VERSION WITH_GUI
# Runs the built programs with --version and --help, with no display at all,
# and checks what they print.
set -uo pipefail

bin=$1 version=$2 with_gui=$3
failures=0

# program | arguments | a line the output must hold (a grep -x pattern)
cases=(
  "quillgate-cli|--version|quillgate-cli $version"
  "quillgate-cli|--help|.*\"quillgate-cli --version\" for its version\."
)
[ "$with_gui" = 1 ] && cases+=(
  "quillgate|--version|quillgate $version"
  "quillgate|-v|quillgate $version"
  "quillgate|--help|Usage: quillgate \[options\]"
  "quillgate|--help| *--demo  .*"
  "quillgate|--help| *-v, --version  .*"
  "quillgate|--demo --help| *--demo  .*"
)

for row in "${cases[@]}"; do
  IFS='|' read -r program arguments expected <<<"$row"
  # shellcheck disable=SC2086 # the arguments are words
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 "$bin/$program" $arguments 2>&1)
  code=$?
  if [ "$code" -ne 0 ]; then
    echo "FAIL: $program $arguments exited with $code: $out" >&2
    failures=$((failures + 1))
  elif ! grep -qx -- "$expected" <<<"$out"; then
    echo "FAIL: $program $arguments printed no line '$expected':" >&2
    echo "$out" >&2
    failures=$((failures + 1))
  fi
done

echo "${#cases[@]} calls, $failures failed"
exit "$((failures > 0))"
