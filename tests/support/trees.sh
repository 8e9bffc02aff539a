# Trees of random files and their manifests, skips and the verdict, for the script tests.

skip() { echo "skipped: $*"; exit 77; }

# verdict: passed without PROBLEMS, else each problem and, with a SCRATCH folder, what was said.
verdict() {
  ((${#PROBLEMS[@]} == 0)) && { echo "1 passed, 0 failed"; exit 0; }
  printf 'not so: %s\n' "${PROBLEMS[@]}"
  [ -z "${SCRATCH:-}" ] || { echo "--- veilbox-cli said:" && head -c 3000 "$SCRATCH/said" 2>/dev/null; }
  echo "0 passed, 1 failed" && exit 1
}

# make_tree DIR FILES [long]: FILES files of random size and content in
# nested folders; with "long", every other file's name is 112 to 255 bytes
# of ASCII, Cyrillic or Chinese.
make_tree() {
  local dir=$1 files=$2 long=${3:-} i sub
  for ((i = 0; i < files; i++)); do
    sub="$dir/d$((i % 7))/e$((i % 5))"
    [ $((i % 3)) -eq 0 ] && sub="$dir/d$((i % 7))"
    mkdir -p "$sub"
    head -c $((RANDOM % 3000)) /dev/urandom >"$sub/$(tree_name "$i" "$long")"
  done
}

# tree_name I [long]: the name of file I of a tree.
tree_name() {
  local LC_ALL=C name="file $1.dat" units=(n ж 界) unit
  if [ "${2:-}" = long ] && (($1 % 2)); then
    unit=${units[$1 % 3]}
    name="file $1 "
    while ((${#name} + ${#unit} <= 112 + $1 % 144)); do name+=$unit; done
  fi
  printf '%s' "$name"
}

# manifest DIR: "hash  relative path" of every file, sorted.
manifest() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }

# lost_files DIR MANIFEST: how many files of the manifest are missing or
# changed (all of them when DIR is gone).
lost_files() {
  [ -d "$1" ] || { wc -l <"$2"; return; }
  (cd "$1" && sha256sum --quiet -c "$2" 2>/dev/null | grep -c -v '^$') || true
}
