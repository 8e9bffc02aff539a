# Shared by the hostile-user and drive tests: an owner who runs veilbox-cli and an intruder,
# throw-away accounts, in a temp root both can traverse; all goes on exit. Without root,
# useradd or setpriv: skipped (77). Usage: source hostile.sh VEILBOX_CLI [HELPER...]
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/trees.sh"

skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "needs root to create the test users"
for tool in useradd userdel setpriv; do command -v "$tool" >/dev/null || skip "$tool is missing"; done

ROOT=$(mktemp -d "${TMPDIR:-/tmp}/veilbox-hostile-XXXXXX") && chmod 0755 "$ROOT"
USERS=() PIDS=() PROBLEMS=()
stop_all() { for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done; PIDS=(); }
cleanup() {  # locked store folders opened first; chmod and rm follow no links
  stop_all && for user in "${USERS[@]}"; do userdel "$user" 2>/dev/null; done
  chmod -R u+rwx "$ROOT" 2>/dev/null; rm -rf "$ROOT"
}
trap cleanup EXIT && trap 'exit 1' INT TERM

# The programs are copied into the temp root: the users may not enter the build tree.
install -m 0755 -D -t "$ROOT/bin" "$@"
CLI=$ROOT/bin/$(basename "$1") && cd "$ROOT" || exit 1
SCRATCH=$ROOT/scratch && mkdir -m 0700 "$SCRATCH"  # the test's own notes, root's only
OWNER=vbx-owner-$$ INTRUDER=vbx-intruder-$$ OWNER_HOME=$ROOT/owner SHARED=$ROOT/shared PASSWORD="hostile pw"

# Users with their own group and no login; retried while another useradd holds /etc/passwd.
for user in "$OWNER" "$INTRUDER"; do
  for try in 1 2 3 4 5; do
    useradd --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
      --user-group "$user" 2>"$SCRATCH/useradd.err" && { USERS+=("$user"); break; }
    ((try < 5)) && sleep 1 || skip "cannot create user $user: $(cat "$SCRATCH/useradd.err")"
  done
done

# as USER COMMAND...: COMMAND as USER with a clean environment (AS_EXEC: by exec, for start_as).
as() {
  ${AS_EXEC:+exec} setpriv --reuid="$1" --regid="$1" --init-groups -- env -i PATH=/usr/bin:/bin \
    ${ASAN_OPTIONS+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS+UBSAN_OPTIONS="$UBSAN_OPTIONS"} "${@:2}"
}
start_as() { AS_EXEC=1 as "$@" & PIDS+=($!); }  # as, in the background

# The owner's home, and a shared folder (0777 without the sticky bit).
install -d -o "$OWNER" -g "$OWNER" -m 0700 "$OWNER_HOME" && mkdir -m 0777 "$SHARED"

# vb ARGS...: veilbox-cli as the owner, the password on standard input, the program folder
# VB_HOME (the owner's veilbox by default); must: vb, quietly, ending the test unless it succeeds.
vb() {
  printf '%s\n' "$PASSWORD" | as "$OWNER" HOME="$OWNER_HOME" VEILBOX_HOME="${VB_HOME:-$OWNER_HOME/veilbox}" \
    XDG_CONFIG_HOME="$OWNER_HOME/config" XDG_DATA_HOME="$OWNER_HOME/data" VEILBOX_UPDATE_URL= \
    "$CLI" --password-stdin "$@"
}
must() { vb "$@" >/dev/null 2>&1 || { echo "set-up failed: veilbox-cli $*"; exit 1; }; }
as "$OWNER" true || skip "setpriv cannot run commands as the test user"
must --accept-agreement init

# owned_tree USER DIR FILES [MANIFEST]: make_tree, owned by USER; its manifest in MANIFEST.
owned_tree() { make_tree "$2" "$3" && chown -R "$1:" "$2" && { [ -z "${4:-}" ] || manifest "$2" >"$4"; }; }
# snapshot DIR: names, modes, sizes, owners, times and contents of DIR's tree.
snapshot() { (cd "$1" && find . -printf '%P %m %s %u %T@\n' | sort && manifest .); }
outside() {  # the snapshot of the temp root but the shared folder, Veilbox's folders and notes
  local x='(shared|owner/veilbox|owner/config/veilbox|scratch)'
  snapshot "$ROOT" | grep -E -v "^$x[/ ]|  \./$x/"
}
# status FOLDER: the status column of FOLDER's row in the owner's list.
status() { vb list 2>/dev/null | awk -F'\t' -v f="$1" '$2 $1 == f { print $3 }'; }
hidden() { [ "$(status "$1")" = Hidden ]; }
stores() { vb stores 2>/dev/null | cut -f2; }

# run ARGS...: vb; CODE is its exit code, $SCRATCH/out and last its output and messages,
# $SCRATCH/said every run's messages.
run() {
  vb "$@" >"$SCRATCH/out" 2>"$SCRATCH/last"
  CODE=$? && { echo "\$ veilbox-cli $* -> exit $CODE"; cat "$SCRATCH/last"; } >>"$SCRATCH/said"
}
# want DESCRIPTION COMMAND...: DESCRIPTION is a problem unless COMMAND succeeds.
want() { "${@:2}" || PROBLEMS+=("$1"); }
# exits CODE WHAT ARGS...: run ARGS; a problem unless it exits CODE ("fails": not 0).
exits() {
  run "${@:3}"
  [ "$1" = fails ] && want "$2 fails (exit $CODE)" [ "$CODE" -ne 0 ] && return
  want "$2 exits $1 (exit $CODE)" [ "$CODE" -eq "$1" ]
}
verdict() {
  ((${#PROBLEMS[@]} == 0)) && { echo "1 passed, 0 failed"; exit 0; }
  printf 'not so: %s\n' "${PROBLEMS[@]}" && echo "--- veilbox-cli said:" && head -c 3000 "$SCRATCH/said" 2>/dev/null
  echo "0 passed, 1 failed" && exit 1
}
