#!/usr/bin/env bash
# Starts the program under Xvfb against three simulated gauges (models 0,
# 1 and 2), walks it through the screenshot tour and saves the pictures as PNG.
#
#   scripts/screenshots.sh [--readme] [OUTDIR]
#
# OUTDIR defaults to screenshots/out. --readme also copies the connection
# area to docs/connection-area.png and the first page of the precision test's
# report to docs/precision-report.png, the pictures the README shows.
# TESSRA_BUILD_DIR names another build folder whose tools/tessra2-tour is
# taken as it is (default: build/default, built first).
set -euo pipefail
cd "$(dirname "$0")/.."

readme=no
if [ "${1:-}" = "--readme" ]; then
  readme=yes
  shift
fi
out="${1:-screenshots/out}"
build="${TESSRA_BUILD_DIR:-build/default}"

if [ -z "${TESSRA_BUILD_DIR:-}" ]; then
  # The tour of this checkout, built (or brought up to date) first.
  scripts/install-deps.sh test
  cmake --preset default >/dev/null
  cmake --build --preset default --target tessra2-tour -j"$(nproc)"
fi

# A language stored for a private user, so the tour starts without the
# first-start language selection and leaves the real user's settings alone;
# what it writes to the user's data folder (journals, backups) goes there too.
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/Axo-Gauges" "$config/data" "$out"
printf '[Language]\nOffset=10000\n' >"$config/Axo-Gauges/Tessra2Bediensoftware.conf"

XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$config/data" XDG_RUNTIME_DIR="$config" \
  xvfb-run -a -s "-screen 0 1400x1000x24" \
  "$build/tools/tessra2-tour" "$out" --simulate=0,1,2

if [ "$readme" = yes ]; then
  mkdir -p docs
  cp "$out/connection-model2.png" docs/connection-area.png
  echo "docs/connection-area.png"
  cp "$out/precision-report.png" docs/precision-report.png
  echo "docs/precision-report.png"
fi
