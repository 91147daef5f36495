#!/usr/bin/env bash
# Sets everything up (packages, build) and starts Korvat Devir.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# The default target the program attaches at start-up, and a demo source
# beside it, each created only when missing.
home_folder="${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}"
build/tests/fixtures/korvat_demo_databases \
  "$home_folder/Korvat/KORVAT.FDB" "$home_folder/Korvat/KAYNAK.FDB"

exec build/project/Korvat_Devir
