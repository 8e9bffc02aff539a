#!/usr/bin/env bash
# Builds Veilbox and starts the desktop application: installs the Debian
# packages that are missing, configures the default preset and builds its
# two programs (not the tests), then runs build/default/src/gui/veilbox. Safe to run any number of times; a build
# that is up to date is not redone. Arguments are passed on to veilbox.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# qt6-base-dev brings Qt's X11 platform plugin; a Wayland session without X11
# needs Qt's Wayland plugin as well.
if [ -n "${WAYLAND_DISPLAY:-}" ] && [ -z "${DISPLAY:-}" ] &&
  ! dpkg-query -W -f='${Status}' qt6-wayland 2>/dev/null | grep -q 'install ok installed'; then
  echo "Installing: qt6-wayland"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends qt6-wayland
fi

cmake --preset default
cmake --build --preset default --target veilbox veilbox-cli

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MSG
There is no display here (\$DISPLAY and \$WAYLAND_DISPLAY are both empty), so
Veilbox's window cannot open. Veilbox is built; on this machine use its
command-line program instead, for example:

  build/default/src/cli/veilbox-cli --help

or run scripts/run.sh again from a desktop session.
MSG
  exit 1
fi

exec build/default/src/gui/veilbox "$@"
