# Shared by the recovery proofs: a private home for veilbox-cli, a password,
# and helpers to build trees and compare them by hash.
# Usage: source common.sh /path/to/veilbox-cli

CLI="$1"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/veilbox-recovery-XXXXXX")
# Locked store folders have no permission bits; open them before removal.
trap 'chmod -R u+rwx "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
export VEILBOX_HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
export HOME="$WORK" VEILBOX_UPDATE_URL=""
PASSWORD="kill test password"

vb() { printf '%s\n' "$PASSWORD" | "$CLI" --password-stdin "$@"; }

init_home() {
  printf '%s\n' "$PASSWORD" | "$CLI" --accept-agreement --password-stdin init >/dev/null 2>&1
}

# make_tree DIR FILES: FILES files of random size and content in nested folders.
make_tree() {
  local dir=$1 files=$2 i sub
  for ((i = 0; i < files; i++)); do
    sub="$dir/d$((i % 7))/e$((i % 5))"
    [ $((i % 3)) -eq 0 ] && sub="$dir/d$((i % 7))"
    mkdir -p "$sub"
    head -c $((RANDOM % 3000)) /dev/urandom >"$sub/file $i.dat"
  done
}

# manifest DIR: "hash  relative path" of every file, sorted.
manifest() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }

# lost_files DIR MANIFEST: how many files of the manifest are missing or changed.
lost_files() {
  (cd "$1" && sha256sum --quiet -c "$2" 2>/dev/null | grep -c -v '^$') || true
}
