#!/usr/bin/env bash
# Installs what the program needs from Debian's packages. Safe to run again:
# packages already present are kept.
#
#   scripts/install-deps.sh run    building and running the program
#   scripts/install-deps.sh test   that, and what the tests, the sanitizer
#                                  and fuzz builds, the screenshots and the
#                                  installation package need
set -euo pipefail

what="${1:-test}"

run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev qt6-svg-dev
  # Qt Charts' CMake files ask for Qt6OpenGL, which qt6-charts-dev does not pull in.
  libqt6opengl6-dev libgl1-mesa-dev
  # the logbook: Qt's SQL drivers for SQLite (the local file) and PostgreSQL (a team's server)
  libqt6sql6-sqlite libqt6sql6-psql
  fonts-dejavu-core
  # the windows' font: Liberation Sans, of Arial's width, which their sizes fit
  fonts-liberation2
)
test_packages=(
  libgtest-dev libgmock-dev
  # independent peers and tools the tests and screenshots use
  lrzsz socat xvfb xauth x11-apps imagemagick poppler-utils
  # the logbook's tests: a private PostgreSQL server, sqlite3 as an independent reader
  postgresql sqlite3
  # the fuzz preset
  clang libclang-rt-14-dev
  # the installation package: manual pages, package build and its checks
  help2man dpkg-dev fakeroot file lintian appstream
)

case "$what" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
