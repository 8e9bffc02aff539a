# Trees of random files and their manifests, for the script tests.

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

# lost_files DIR MANIFEST: how many files of the manifest are missing or
# changed (all of them when DIR is gone).
lost_files() {
  [ -d "$1" ] || { wc -l <"$2"; return; }
  (cd "$1" && sha256sum --quiet -c "$2" 2>/dev/null | grep -c -v '^$') || true
}
