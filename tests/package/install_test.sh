#!/usr/bin/env bash
# Installs the Debian package in a fresh Debian 12 chroot, runs its programs, purges it and
# checks only user data is left. Usage: install_test.sh DEB CACHE_DIR. 77: no chroot.
set -euo pipefail
deb="$(realpath "$1")" cache="$(realpath -m "$2")"

skip() { echo "SKIPPED: $*" >&2; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "the install test needs root for its chroot"
for tool in debootstrap unshare chroot; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done
unshare -m --propagation private true 2>/dev/null || skip "unshare -m cannot make a private mount namespace"

# The first Debian archive in apt's sources (one-line or deb822), else Debian's redirector.
mirror="$(grep -hoE '(^deb|^URIs:) +https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list \
  /etc/apt/sources.list.d/* 2>/dev/null | awk '{print $2; exit}')" || true
mirror="${mirror:-http://deb.debian.org/debian}"

work="$(mktemp -d "${TMPDIR:-/tmp}/veilbox-install-test.XXXXXX")"
trap 'rm -rf --one-file-system "$work"' EXIT
root="$work/root" base="$cache/bookworm-minbase.tar" && mkdir -p "$cache/archives/partial"

if [ ! -f "$base" ]; then
  echo "== debootstrap bookworm from $mirror into $cache (once)"
  debootstrap --variant=minbase --include=man-db --cache-dir="$cache/archives" \
    bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -n 5 "$work/debootstrap.log" >&2; skip "debootstrap from $mirror failed"; }
  tar -C "$root" --exclude='./var/cache/apt/archives/*.deb' -cf "$base.part" . && mv "$base.part" "$base"
  rm -rf --one-file-system "$root"
fi
mkdir "$root" && tar -C "$root" -xf "$base" && cp /etc/resolv.conf "$root/etc/resolv.conf" && cp "$deb" "$root/tmp/"
echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/unsafe-io"

# Run in the chroot, in a private mount namespace that takes its mounts along.
cat >"$root/tmp/in-chroot.sh" <<'INNER'
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive PATH=/usr/sbin:/usr/bin:/sbin:/bin deb="/tmp/$1"
fail() { echo "FAIL: $*" >&2; exit 1; }

apt-get update -qq
# Without recommended packages: what the package itself depends on must do.
apt-get install -y -qq --no-install-recommends "$deb" >/tmp/install.log 2>&1 ||
  { cat /tmp/install.log; fail "apt-get install"; }
for command in "veilbox-cli --help" "man -w veilbox-cli" "man -w veilbox"; do $command >/dev/null || fail "$command"; done
! ldd /usr/bin/veilbox /usr/bin/veilbox-cli | grep 'not found' || fail "a library is missing"
# The desktop program (offscreen) waits at its first question; a missing library ends it.
mkdir -m 700 /tmp/desktop && status=0 && HOME=/tmp/desktop XDG_RUNTIME_DIR=/tmp/desktop QT_QPA_PLATFORM=offscreen \
  timeout 10 veilbox >/tmp/desktop.log 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat /tmp/desktop.log; fail "veilbox ended with $status at start"; }
bash -c '. /usr/share/bash-completion/completions/veilbox-cli && complete -p veilbox-cli' >/dev/null ||
  fail "the completion does not load"
dpkg -L veilbox | sort >/tmp/package-files && mkdir -p /home/me/Plans
for args in "--accept-agreement init" "add /home/me/Plans" "hide /home/me/Plans"; do
  echo pw | HOME=/home/me veilbox-cli --password-stdin $args
done
apt-get purge -y -qq veilbox >/tmp/purge.log 2>&1 || { cat /tmp/purge.log; fail "apt-get purge"; }
dpkg-query -W veilbox 2>/dev/null && fail "veilbox is still known to dpkg"
while read -r path; do [ -d "$path" ] || [ ! -e "$path" ] || fail "$path is left"; done </tmp/package-files
left="$(find / -xdev -iname '*veilbox*' ! -path '/home/me/*' ! -path '/tmp/*' ! -path '/var/cache/apt/*')"
[ -z "$left" ] || fail "left behind: $left"
for kept in .local/share/veilbox/Dat.sys .local/share/veilbox/Data/Plans .config/veilbox/settings.json; do
  [ -e "/home/me/$kept" ] || fail "the user's $kept was removed"
done
INNER

# shellcheck disable=SC2016  # the inner shell expands its own arguments
unshare -m --propagation private bash -c 'mount -t proc proc "$1/proc" && mount --bind "$2" "$1/var/cache/apt/archives" &&
  chroot "$1" bash /tmp/in-chroot.sh "$3"' install-test "$root" "$cache/archives" "$(basename "$deb")"
echo "== install test passed"
