#!/usr/bin/env bash
# Renders the Add Account dialog set for an OAuth2 sign-in to
# docs/add-account-oauth2.png, under a private X server. Needs a built tree:
# scripts/oauth-screenshot.sh [build folder].
set -euo pipefail
cd "$(dirname "$0")/.."
exec scripts/shot-program.sh "${1:-build/dev}" qlt_oauth_shot docs/add-account-oauth2.png
