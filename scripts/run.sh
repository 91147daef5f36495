#!/usr/bin/env bash
# Sets everything up (packages, build) and starts Korvat Devir. Builds only
# the program and the demo-database maker, so the window opens without
# waiting for the test suites; scripts/test.sh builds the rest.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KORVAT_BUILD_DIR:-build}

bash scripts/setup.sh Korvat_Devir korvat_demo_databases

# The default target the program attaches at start-up, and a demo source
# beside it, each created only when missing.
home_folder="${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}"
"$build/tools/korvat_demo_databases" \
  "$home_folder/Korvat/KORVAT.FDB" "$home_folder/Korvat/KAYNAK.FDB"

exec "$build/project/Korvat_Devir"
