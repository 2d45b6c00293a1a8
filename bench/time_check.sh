#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times `vantora-db check` on the sample database: the median of N runs of each given tool,
# measured in one run so that a busy machine affects them alike.
#   bench/time_check.sh [-n N] TOOL [TOOL...]
# e.g. bench/time_check.sh build-bench/bin/vantora-db /path/to/older/vantora-db
set -euo pipefail
runs=20
if [ "${1:-}" = "-n" ]; then runs=$2; shift 2; fi
[ $# -ge 1 ] || { echo "usage: $0 [-n N] TOOL [TOOL...]" >&2; exit 2; }

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$1" create "$dir/sample.db" --sample >/dev/null

median_ms() {
  local tool=$1
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$tool" check "$dir/sample.db" >/dev/null
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
  done | sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2000 }'
}

# One warm-up run of each, so that neither pays for loading the file into the cache.
for tool in "$@"; do "$tool" check "$dir/sample.db" >/dev/null; done
for tool in "$@"; do
  printf '%-60s median of %d runs: %s ms\n' "$tool" "$runs" "$(median_ms "$tool")"
done
