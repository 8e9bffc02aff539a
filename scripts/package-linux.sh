#!/usr/bin/env bash
# Builds the Debian package build/default/veilbox_<version>_<arch>.deb with
# CPack, checks it with lintian (no error allowed) and its AppStream data with
# appstreamcli, then installs and purges it in a fresh Debian 12 chroot
# (tests/package/install_test.sh; the Debian tree is cached in
# build/debian-root/). Safe to run any number of times.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh package
cmake --preset default
cmake --build --preset default
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/default/CMakeCache.txt)"
deb="build/default/veilbox_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
(cd build/default && cpack -G DEB)
echo "== $deb: $(du -k "$deb" | cut -f1) KiB"
dpkg-deb --info "$deb" | sed -n 's/^ \(Depends\|Suggests\):/  \1:/p'

echo "== lintian"
lintian --fail-on error --display-info "$deb"

echo "== appstreamcli validate"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$tree"

echo "== install test"
status=0
tests/package/install_test.sh "$deb" build/debian-root || status=$?
if [ "$status" -eq 77 ]; then
  echo "The install test was skipped (see above)."
elif [ "$status" -ne 0 ]; then
  exit "$status"
fi
