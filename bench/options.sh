# Shared by the benchmark scripts: reads "--NAME N" options, each a whole
# positive number, into variables of the same names (defaults as given),
# refuses anything else with the usage line, then builds the targets named
# (default preset) from the top of the checkout.
#   source "$(dirname "$0")/options.sh" "rows=1000 rounds=3" "target..." "$@"
bench_defaults=$1
bench_targets=$2
shift 2
bench_usage() {
  local names="" pair
  for pair in $bench_defaults; do names+=" [--${pair%%=*} N]"; done
  echo "usage: $0$names" >&2
  exit 2
}
for pair in $bench_defaults; do declare "${pair%%=*}=${pair#*=}"; done
while (($#)); do
  name=${1#--}
  [[ $1 == --* && " $bench_defaults" == *" $name="* && $# -ge 2 ]] || bench_usage
  [[ $2 =~ ^[1-9][0-9]*$ ]] || bench_usage
  declare "$name=$2"
  shift 2
done
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
# shellcheck disable=SC2086 # the targets are words
cmake --build --preset default --target $bench_targets >/dev/null
