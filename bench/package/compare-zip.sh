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

# shellcheck source=bench/compare-lib.sh
source "$here/../compare-lib.sh"
require_programs compare-zip "build stellik_zip_files; install zip and unzip" \
  "$writer" /usr/bin/zip /usr/bin/unzip

make_work
"$writer" --make "$work/in" "$count" "$size"
files=("$work"/in/*)

# zip adds to an archive it finds: every run starts without one.
before_run() { rm -f "$work/out.zip"; }

zip_s=$(best_seconds zip -q -j "$work/out.zip" "${files[@]}")
zip_bytes=$(stat -c %s "$work/out.zip")
ours_s=$(best_seconds "$writer" "$work/out.zip" "${files[@]}")
ours_bytes=$(stat -c %s "$work/out.zip")
unzip -tqq "$work/out.zip"

awk -v c="$count" -v size="$size" -v zs="$zip_s" -v zb="$zip_bytes" -v os="$ours_s" \
  -v ob="$ours_bytes" 'BEGIN {
    printf "%7s %9s | %8s %9s | %8s %9s | %6s\n", "members", "KB each", "zip_s", "zip_MB",
           "ours_s", "ours_MB", "time_x"
    printf "%7d %9.0f | %8.3f %9.1f | %8.3f %9.1f | %6.2f\n", c, size / 1024, zs,
           zb / 1048576, os, ob / 1048576, (zs > 0 ? os / zs : 0) }'
