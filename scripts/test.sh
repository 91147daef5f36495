#!/usr/bin/env bash
# Sets everything up (packages, build) and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
# Under the locale of the operators' Turkish desktops (scripts/sanitize.sh
# runs the suite again under the machine's own, usually C).
LANG=tr_TR.UTF-8 LC_ALL=tr_TR.UTF-8 ctest --test-dir "${KORVAT_BUILD_DIR:-build}" --output-on-failure
