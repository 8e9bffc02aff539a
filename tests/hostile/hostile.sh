# Shared by the hostile-user tests: two throw-away accounts, an owner who runs
# veilbox-cli and an intruder who acts against it, in a private temp root
# that both can traverse. Users, folders and background processes are removed
# on every exit. Without root, useradd or setpriv the test is skipped (77).
# Usage: source hostile.sh VEILBOX_CLI [HELPER...]   (helpers run as the users)

source "$(dirname "${BASH_SOURCE[0]}")/../support/trees.sh"

skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "needs root to create the test users"
for tool in useradd userdel setpriv; do
  command -v "$tool" >/dev/null || skip "$tool is missing"
done

ROOT=$(mktemp -d "${TMPDIR:-/tmp}/veilbox-hostile-XXXXXX")
chmod 0755 "$ROOT"
USERS=()
PIDS=()

# stop_all: ends the background commands of start_as.
stop_all() {
  local pid
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  PIDS=()
}

cleanup() {
  local user
  stop_all
  for user in "${USERS[@]}"; do userdel "$user" 2>/dev/null; done
  # Locked store folders have no permission bits; rm and chmod follow no links.
  chmod -R u+rwx "$ROOT" 2>/dev/null
  rm -rf "$ROOT"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# The build tree may sit under a folder the users cannot enter: copy the
# programs into the temp root.
mkdir "$ROOT/bin"
for program in "$@"; do install -m 0755 "$program" "$ROOT/bin/"; done
CLI=$ROOT/bin/$(basename "$1")
cd "$ROOT" || exit 1
SCRATCH=$ROOT/scratch  # the test's own notes, root's only
mkdir -m 0700 "$SCRATCH"
OWNER=vbx-owner-$$
INTRUDER=vbx-intruder-$$
OWNER_HOME=$ROOT/owner
SHARED=$ROOT/shared
PASSWORD="hostile test password"

# add_user NAME: a user with its own group and no login; a few tries, as a
# concurrent useradd may hold the lock on /etc/passwd.
add_user() {
  local _
  for _ in 1 2 3 4 5; do
    if useradd --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
      --user-group "$1" 2>"$SCRATCH/useradd.err"; then
      USERS+=("$1")
      return 0
    fi
    sleep 1
  done
  skip "cannot create user $1: $(cat "$SCRATCH/useradd.err")"
}
add_user "$OWNER"
add_user "$INTRUDER"

# as USER COMMAND...: runs COMMAND as USER with a clean environment.
# (With AS_EXEC set the shell becomes the command: see start_as.)
as() {
  local user=$1
  shift
  ${AS_EXEC:+exec} setpriv --reuid="$user" --regid="$user" --init-groups -- env -i PATH=/usr/bin:/bin \
    ${ASAN_OPTIONS+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS+UBSAN_OPTIONS="$UBSAN_OPTIONS"} \
    "$@"
}

# start_as USER COMMAND...: COMMAND as USER in the background; its process
# id (the command's own, so that kill reaches it) goes to PIDS.
start_as() {
  AS_EXEC=1 as "$@" &
  PIDS+=($!)
}

# The owner's home, program folder and settings, and the shared folder
# (0777 without the sticky bit, like a shared project folder).
mkdir -m 0700 "$OWNER_HOME"
chown "$OWNER:" "$OWNER_HOME"
mkdir -m 0777 "$SHARED"

# vb ARGS...: veilbox-cli as the owner, the password on standard input.
vb() {
  printf '%s\n' "$PASSWORD" | as "$OWNER" HOME="$OWNER_HOME" VEILBOX_HOME="$OWNER_HOME/veilbox" \
    XDG_CONFIG_HOME="$OWNER_HOME/config" XDG_DATA_HOME="$OWNER_HOME/data" VEILBOX_UPDATE_URL= \
    "$CLI" --password-stdin "$@"
}
as "$OWNER" true || skip "setpriv cannot run commands as the test user"
vb --accept-agreement init >/dev/null 2>&1 || { echo "init failed"; exit 1; }

# owned_tree USER DIR FILES: a tree of random files owned by USER.
owned_tree() {
  make_tree "$2" "$3"
  chown -R "$1:" "$2"
}

# snapshot DIR: names, modes, sizes, owners, times and contents of DIR's tree
# (a directory's time changes when an entry inside is renamed).
snapshot() {
  (cd "$1" && find . -printf '%P %m %s %u %T@\n' | sort && manifest .)
}

# outside: the snapshot of the temp root without the shared folder, the
# owner's program folder (list and store), the owner's Veilbox settings and
# the test's notes.
outside() {
  snapshot "$ROOT" |
    grep -E -v '^(shared|owner/veilbox|owner/config/veilbox|scratch)[/ ]|  \./(shared|owner/veilbox|owner/config/veilbox|scratch)/'
}

# status FOLDER: the status column of FOLDER's row in the owner's list.
status() { vb list 2>/dev/null | awk -F'\t' -v f="$1" '$2 $1 == f { print $3 }'; }
