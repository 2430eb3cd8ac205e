#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
#   scripts/test.sh            normal build
#   scripts/test.sh sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/install-deps.sh test
cmake --preset "$preset" -DTESSRA_BUILD_TESTS=ON >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset"
