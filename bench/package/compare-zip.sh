#!/usr/bin/env bash
# Writing a results archive beside the zip command on the same files: COUNT members of SIZE
# bytes, half text (deflated), half random bytes like pictures (stored), added by our writer
# one at a time (stellik_zip_files) and by `zip -q`. Prints the best wall time of RUNS runs
# of each and their ratio.
#
# usage: bench/package/compare-zip.sh [BUILD_DIR] [RUNS] [COUNT] [SIZE]
# BUILD_DIR holds bench/package/stellik_zip_files (default: build).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
build_dir="${1:-$source_dir/build}"
runs="${2:-5}"
count="${3:-300}"
size="${4:-204800}"
writer="$build_dir/bench/package/stellik_zip_files"

for tool in "$writer" /usr/bin/zip /usr/bin/unzip; do
  if [ ! -x "$tool" ]; then
    echo "compare-zip: $tool is missing (build stellik_zip_files; install zip and unzip)" >&2
    exit 1
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$writer" --make "$work/in" "$count" "$size"
files=("$work"/in/*)

# Wall seconds of one run, to the millisecond.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  awk -v ns="$((end - start))" 'BEGIN { printf "%.4f\n", ns / 1e9 }'
}

best_of() {
  local best="" s
  for _ in $(seq "$runs"); do
    rm -f "$work/out.zip"
    s=$(seconds "$@")
    if [ -z "$best" ] || awk -v a="$s" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best="$s"
    fi
  done
  echo "$best"
}

zip_s=$(best_of zip -q -j "$work/out.zip" "${files[@]}")
zip_bytes=$(stat -c %s "$work/out.zip")
ours_s=$(best_of "$writer" "$work/out.zip" "${files[@]}")
ours_bytes=$(stat -c %s "$work/out.zip")
unzip -tqq "$work/out.zip"

awk -v c="$count" -v size="$size" -v zs="$zip_s" -v zb="$zip_bytes" -v os="$ours_s" \
  -v ob="$ours_bytes" 'BEGIN {
    printf "%7s %9s | %8s %9s | %8s %9s | %6s\n", "members", "KB each", "zip_s", "zip_MB",
           "ours_s", "ours_MB", "time_x"
    printf "%7d %9.0f | %8.3f %9.1f | %8.3f %9.1f | %6.2f\n", c, size / 1024, zs,
           zb / 1048576, os, ob / 1048576, (zs > 0 ? os / zs : 0) }'
