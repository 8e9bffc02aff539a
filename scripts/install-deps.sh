#!/usr/bin/env bash
# Installs the Debian packages Veilbox needs to build and test, skipping those
# already present. Safe to run any number of times.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  nlohmann-json3-dev libcli11-dev libssl-dev
  libcurl4-openssl-dev qt6-base-dev
  # The hostile-user and drive tests: useradd, setpriv, unshare, mount, mkfs.ext4.
  passwd util-linux mount e2fsprogs
)

# "fuzz" adds clang 16 (the first with std::source_location on this
# standard library) and its libFuzzer runtime.
if [ "${1:-}" = fuzz ]; then packages+=(clang-16 libclang-rt-16-dev); fi
# "mingw" adds the Windows cross compilers (POSIX threads), Wine to run the
# tests, util-linux's flock for the Wine launcher, and a private X server
# with a key typist for the test that runs veilbox.exe's windows.
mingw_packages=(g++-mingw-w64-x86-64-posix wine64 util-linux xvfb xdotool)
if [ "${1:-}" = mingw ]; then packages+=("${mingw_packages[@]}"); fi
# "windows-package" adds what "mingw" adds, NSIS, which makes the Windows
# setup program, and ImageMagick, which makes its picture; Wine runs the
# setup test.
if [ "${1:-}" = windows-package ]; then packages+=("${mingw_packages[@]}" nsis imagemagick); fi
# "package" adds what builds and checks the Debian package: dpkg-shlibdeps,
# lintian, the AppStream validator, debootstrap for the install test, and
# bash-completion for the completion test.
if [ "${1:-}" = package ]; then packages+=(dpkg-dev lintian appstream debootstrap bash-completion man-db); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
