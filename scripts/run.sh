#!/usr/bin/env bash
# Builds the program and starts it against a simulated gauge.
# Extra arguments go to the program (for example --simulate=0,2).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target tessra2 tessra2-sim tessra2-cli
if [ $# -eq 0 ]; then
  set -- --simulate
fi
exec build/default/src/tessra2 "$@"
