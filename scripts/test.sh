#!/usr/bin/env bash
# Sets everything up (packages, build) and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
ctest --test-dir "${KORVAT_BUILD_DIR:-build}" --output-on-failure
