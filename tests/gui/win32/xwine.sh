# Sourced by the tests and scripts that run the real veilbox.exe: a private
# X server (Xvfb), a private Wine prefix, and keys typed into the program's
# windows (xdotool) as a user types them. The caller sets work (a folder of
# its own, removed by its own trap after xwine_stop).

# Xvfb on a free display (screen $xwine_screen, default 1024x768x24), in
# DISPLAY. With no window manager, Wine draws the windows' frames itself.
xwine_display() {
  Xvfb -displayfd 3 -screen 0 "${xwine_screen:-1024x768x24}" -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(cat "$work/display")"
}

# The display and a fresh Wine prefix (WINEPREFIX), and the program folder
# as Windows sees it (VEILBOX_HOME). No run reaches the update server.
xwine_start() {
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" VEILBOX_UPDATE_URL=""
  xwine_display
  /usr/lib/wine/wine64 wineboot.exe --init </dev/null >/dev/null 2>&1
  /usr/lib/wine/wine64 reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
  mkdir -p "$work/program"
  VEILBOX_HOME="Z:$(printf '%s' "$work/program" | tr / '\\')"
  export VEILBOX_HOME
}

xwine_stop() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}

# Starts veilbox.exe ($1) in the background; its id in program_pid.
xwine_run() {
  /usr/lib/wine/wine64 "$1" </dev/null >/dev/null 2>&1 &
  program_pid=$!
}

# Prints the id of the visible window titled exactly $1, waiting up to 60 s.
xwine_window() {
  local id
  for _ in $(seq 600); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) || true
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.1
  done
  echo "no window titled '$1' appeared" >&2
  return 1
}

# Gives the window titled $1 the keyboard and types the keys $2... (xdotool
# key names, or "type:TEXT").
xwine_keys() {
  local title=$1 id key
  shift
  id=$(xwine_window "$title") || return 1
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep 0.3
  for key in "$@"; do
    case $key in
      type:*) xdotool type --delay 50 "${key#type:}" ;;
      *) xdotool key "$key" ;;
    esac
    sleep 0.5  # a menu opens in its own time
  done
}

# Waits up to 30 s until the window titled $1 is no longer shown.
xwine_gone() {
  for _ in $(seq 300); do
    [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  echo "the window titled '$1' did not go" >&2
  return 1
}

# Waits up to 30 s for the program to end; fails unless it ended with 0.
xwine_ended() {
  for _ in $(seq 300); do
    kill -0 "$program_pid" 2>/dev/null || { wait "$program_pid"; return $?; }
    sleep 0.1
  done
  echo "the program did not end" >&2
  return 1
}

# The first run of veilbox.exe ($1) up to its end after the restart notice:
# agreement, first-time notice, the new password $2 typed and confirmed.
xwine_first_run() {
  xwine_run "$1" &&
    xwine_keys Agreement Return && xwine_gone Agreement &&
    xwine_keys Password Return && xwine_gone Password &&
    xwine_keys Login "type:$2" Return &&
    xwine_keys Password Return && xwine_gone Password &&
    xwine_keys Restart Return &&
    xwine_ended
}
