# Shared by the recovery proofs: a private home for veilbox-cli, a password,
# and (from support/trees.sh) helpers to build trees and compare them by hash.
# Usage: source common.sh /path/to/veilbox-cli

source "$(dirname "${BASH_SOURCE[0]}")/../support/trees.sh"

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
