#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture of the main window: builds
# the default preset, starts a private X server (Xvfb) and shows the main
# window there with sample folders, in a temporary home that is removed
# afterwards. Usage: scripts/screenshot.sh [main|login|options|about] [OUTPUT]
set -euo pipefail
cd "$(dirname "$0")/.."
which_window="${1:-main}"
output="${2:-docs/screenshot.png}"

scripts/install-deps.sh
if ! dpkg-query -W -f='${Status}' xvfb 2>/dev/null | grep -q 'install ok installed'; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends xvfb
fi

cmake --preset default
cmake --build --preset default --target veilbox_screenshot

# The first free display number from :99 up.
display=99
while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
Xvfb ":${display}" -screen 0 1024x768x24 -nolisten tcp &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display}" ] && break
  sleep 0.1
done

runtime_dir="$(mktemp -d)"
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$runtime_dir"' EXIT
mkdir -p "$(dirname "$output")"
DISPLAY=":${display}" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime_dir" \
  build/default/tools/screenshot/veilbox_screenshot "$output" "$which_window"
echo "Saved $output"
