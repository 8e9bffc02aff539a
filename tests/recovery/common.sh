# Shared by the recovery tests: veilbox-cli in a private home, problems noted
# in PROBLEMS, and the verdict. Usage: source common.sh VEILBOX_CLI
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/trees.sh"
CLI="$1"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/veilbox-recovery-XXXXXX")
trap 'chmod -R u+rwx "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT  # locked store folders opened first
export VEILBOX_HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
export HOME="$WORK" VEILBOX_UPDATE_URL=""
STORE=$VEILBOX_HOME/Data PASSWORD="kill test password" PROBLEMS=()
vb() { "$CLI" --password-stdin "$@" <<<"$PASSWORD"; }
quiet() { vb "$@" >/dev/null 2>&1; }
# vb_bg ARGS...: vb in the background; $pid is veilbox-cli's own process.
vb_bg() { "$CLI" --password-stdin "$@" <<<"$PASSWORD" >/dev/null & pid=$!; }
must() { quiet "$@" || { echo "set-up failed: $*"; exit 1; }; }
init_home() { must --accept-agreement init; }
new_tree() { make_tree "$@" && manifest "$1" >"$1.manifest"; }  # TREE FILES [long]
# all_back TREE MANIFEST: the manifest's files are back as they were, no others.
all_back() {
  local lost now listed
  lost=$(lost_files "$1" "$2") now=$(find "$1" -type f 2>/dev/null | wc -l) listed=$(wc -l <"$2")
  ((lost == 0)) || PROBLEMS+=("$lost files of $1 lost or changed")
  ((now == listed)) || PROBLEMS+=("$1 holds $now files, not $listed")
}
agrees() { quiet check || PROBLEMS+=("check found a difference ${1:-}"); }
