#!/usr/bin/env bash
# The Debian package as Debian's own checker sees it: made from the build
# into a scratch directory, it must draw no error and no warning from
# lintian, nor a note that the program lacks any of the hardening (notes of
# the info level are shown, not failed).
# Usage: package_lintian_test.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
scratch=$(mktemp -d /tmp/sorvi_package_XXXXXX)
trap 'rm -rf "$scratch"' EXIT

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log" >&2; exit 1; }
deb=$(ls "$scratch"/sorvi_*.deb)
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" | tee "$scratch/lintian.log"
if grep ' hardening-' "$scratch/lintian.log" >&2; then
  echo "FAIL: the program is built without some of the hardening" >&2
  exit 1
fi
echo "lintian: $(basename "$deb") has no errors or warnings and all the hardening"
