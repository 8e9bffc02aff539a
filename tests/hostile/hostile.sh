# Shared by the hostile-user and drive tests: an owner running veilbox-cli and an intruder, throw-away
# accounts in a temp root, all gone on exit; 77 without root, useradd or setpriv. Args: CLI [HELPER...]
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/trees.sh"

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

install -m 0755 -D -t "$ROOT/bin" "$@"  # the programs: the users may not enter the build tree
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

install -d -o "$OWNER" -g "$OWNER" -m 0700 "$OWNER_HOME" && mkdir -m 0777 "$SHARED"  # no sticky bit

# vb ARGS...: veilbox-cli as the owner, password on stdin, in VB_HOME (default ~/veilbox); must: quiet vb or end.
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
status() { vb list 2>/dev/null | awk -F'\t' -v f="$1" '$2 $1 == f { print $3 }'; }  # the status of a folder's row
hidden() { [ "$(status "$1")" = Hidden ]; }
stores() { vb stores 2>/dev/null | cut -f2; }

# run ARGS...: vb; CODE, $SCRATCH/out and last: its exit code, output and messages (all in said).
run() {
  vb "$@" >"$SCRATCH/out" 2>"$SCRATCH/last"
  CODE=$? && { echo "\$ veilbox-cli $* -> exit $CODE"; cat "$SCRATCH/last"; } >>"$SCRATCH/said"
}
want() { "${@:2}" || PROBLEMS+=("$1"); }  # want DESCRIPTION COMMAND...: a problem unless COMMAND succeeds
# exits CODE WHAT ARGS...: run ARGS; a problem unless it exits CODE ("fails": not 0).
exits() {
  run "${@:3}"
  [ "$1" = fails ] && want "$2 fails (exit $CODE)" [ "$CODE" -ne 0 ] && return
  want "$2 exits $1 (exit $CODE)" [ "$CODE" -eq "$1" ]
}
