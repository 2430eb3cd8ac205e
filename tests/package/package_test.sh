#!/usr/bin/env bash
# The installation: cmake --install into a temporary prefix, and the Debian
# package built with cpack, unpacked into a temporary root, every file
# checked where it belongs, the metainfo validated and the package judged
# by lintian (no errors allowed).
#
#   package_test.sh BUILD_DIR WITH_CLI(0|1)
#
# Exit 77: a tool the test needs is missing (the test is skipped).
set -euo pipefail

build="$1"
with_cli="${2:-0}"

for tool in cpack dpkg-deb dpkg-shlibdeps lintian appstreamcli help2man; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh test installs it)"
    exit 77
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

programs=(tessra2 tessra2-sim)
if [ "$with_cli" = 1 ]; then
  programs+=(tessra2-cli)
fi
app_id=com.axo_gauges.tessra2

# Every file of the installation below prefix (bin, share, lib).
check_tree() {
  local prefix="$1" what="$2"
  for program in "${programs[@]}"; do
    [ -x "$prefix/bin/$program" ] || fail "$what: bin/$program missing or not executable"
    local page="$prefix/share/man/man1/$program.1.gz"
    if [ -f "$page" ]; then
      gzip -dc "$page" | grep -q '^\.TH' || fail "$what: $page is no manual page"
      gzip -dc "$page" | grep -qF -- '\-\-help' || fail "$what: $page lacks the options of --help"
    else
      fail "$what: share/man/man1/$program.1.gz missing"
    fi
  done
  [ -f "$prefix/share/applications/$app_id.desktop" ] || fail "$what: desktop entry missing"
  grep -q "^Icon=$app_id\$" "$prefix/share/applications/$app_id.desktop" 2>/dev/null ||
    fail "$what: desktop entry names another icon"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "$what: icon missing"
  [ -f "$prefix/share/metainfo/$app_id.metainfo.xml" ] || fail "$what: metainfo missing"
  local rule="$prefix/lib/udev/rules.d/60-tessra2-ftdi.rules"
  if [ -f "$rule" ]; then
    grep -q 'ATTRS{idVendor}=="0403".*GROUP="dialout".*MODE="0660"' "$rule" ||
      fail "$what: the udev rule does not give dialout the FTDI adapters"
  else
    fail "$what: udev rule missing"
  fi
  # The developers' tools stay out: no tour or gallery program, and no
  # screenshot tour inside the installed program.
  for tool in tessra2-tour tessra2-gallery; do
    [ ! -e "$prefix/bin/$tool" ] || fail "$what: the tool bin/$tool is installed"
  done
  if grep -aq 'screenshot step failed' "$prefix/bin/tessra2" 2>/dev/null; then
    fail "$what: bin/tessra2 holds the screenshot tour"
  fi
  grep -q 'CREATE TABLE IF NOT EXISTS tessra2_logbook' "$prefix/share/tessra2/tessra2-logbook-server.sql" 2>/dev/null ||
    fail "$what: the team logbook's server SQL is missing"
  [ -f "$prefix/share/doc/tessra2/copyright" ] || fail "$what: copyright missing"
  [ -f "$prefix/share/doc/tessra2/changelog.gz" ] || fail "$what: changelog.gz missing"
}

echo "== cmake --install"
cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install failed"; }
check_tree "$work/prefix" "cmake --install"

echo "== cpack"
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  fail "cpack failed"
  exit 1
fi
debs=("$work"/out/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  fail "cpack made no single .deb: ${debs[*]}"
  exit 1
fi
deb="${debs[0]}"
echo "package: $(basename "$deb")"

dpkg-deb -x "$deb" "$work/root"
check_tree "$work/root/usr" "package"
[ "$(dpkg-deb -f "$deb" Package)" = tessra2 ] || fail "package name is not tessra2"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "package without maintainer"
[ "$(dpkg-deb -f "$deb" Section)" = science ] || fail "package section is not science"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "dependencies lack Qt Widgets"
for driver in libqt6sql6-sqlite libqt6sql6-psql; do
  dpkg-deb -f "$deb" Depends | grep -q "$driver" || fail "dependencies lack the logbook's $driver"
done
# Nothing outside /usr.
outside="$(cd "$work/root" && find . -mindepth 1 -maxdepth 1 ! -name usr)"
[ -z "$outside" ] || fail "files outside /usr: $outside"

echo "== appstreamcli validate"
if ! appstreamcli validate --no-net "$work/root/usr/share/metainfo/$app_id.metainfo.xml"; then
  fail "the metainfo does not validate"
fi

echo "== lintian"
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
if grep -q '^E:' "$work/lintian.log"; then
  fail "lintian reports errors"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package and installation complete"
