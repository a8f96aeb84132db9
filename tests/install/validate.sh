#!/usr/bin/env bash
# validate.sh PACKAGE TOOL ARGS...: runs a validator, or fails saying which
# Debian package holds it.
package=$1 tool=$2
shift 2
command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (package $package)" >&2; exit 1; }
exec "$tool" "$@"
