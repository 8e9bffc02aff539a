# Sourced to run the real veilbox.exe: a private X server (Xvfb, screen $xwine_screen), a
# Wine prefix, keys typed with xdotool. The caller sets work (its folder, removed by its trap).

# Runs the command $2... every 0.1 s until it succeeds, for up to $1 seconds.
xwine_wait() {
  local tries=$(($1 * 10)) && shift
  for _ in $(seq "$tries"); do "$@" && return 0 || sleep 0.1; done
  return 1
}

# Xvfb on a free display, in DISPLAY; with no window manager Wine draws the frames itself.
xwine_display() {
  Xvfb -displayfd 3 -screen 0 "${xwine_screen:-1024x768x24}" -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  xwine_wait 10 test -s "$work/display"
  export DISPLAY=":$(cat "$work/display")"
}

# The display, a fresh Wine prefix, VEILBOX_HOME as Windows sees it; no update server.
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

xwine_stop() { /usr/lib/wine/wineserver -k 2>/dev/null || true; [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true; }

# Starts veilbox.exe ($1) in the background; its id in program_pid.
xwine_run() { /usr/lib/wine/wine64 "$1" </dev/null >/dev/null 2>&1 & program_pid=$!; }

# The id of a visible window titled exactly $1; waits for one to come or go, or for the end.
xwine_shown() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 | grep .; }
xwine_hidden() { ! xwine_shown "$1" >/dev/null; }
xwine_fail() { echo "$1" >&2 && return 1; }
xwine_window() { xwine_wait 60 xwine_shown "$1" || xwine_fail "no window titled '$1' appeared"; }
xwine_gone() { xwine_wait 30 xwine_hidden "$1" || xwine_fail "the window titled '$1' did not go"; }
xwine_ended() {
  xwine_wait 30 eval '! kill -0 "$program_pid" 2>/dev/null' || xwine_fail "the program did not end" || return
  wait "$program_pid"
}

# Types keys $2... (xdotool names, "type:TEXT") into the window titled $1, pausing after each.
xwine_keys() {
  local title=$1 id key
  shift
  id=$(xwine_window "$title") || return 1
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep 0.3
  for key in "$@"; do
    if [[ $key == type:* ]]; then xdotool type --delay 50 "${key#type:}"; else xdotool key "$key"; fi
    sleep 0.5
  done
}

# The first run of veilbox.exe ($1) to its restart notice, with the new password $2.
xwine_first_run() {
  xwine_run "$1" &&
    xwine_keys Agreement Return && xwine_gone Agreement &&
    xwine_keys Password Return && xwine_gone Password &&
    xwine_keys Login "type:$2" Return &&
    xwine_keys Password Return && xwine_gone Password &&
    xwine_keys Restart Return &&
    xwine_ended
}
