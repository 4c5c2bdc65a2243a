#!/usr/bin/env bash
# Writing and reading archives beside zip and unzip on the same files. For each shape, COUNT
# members of SIZE bytes, half text (deflated), half random bytes like pictures (stored):
#   writing: added by our writer one at a time (stellik_zip_files) and by `zip -q`;
#   reading: every member of that archive read by name, as the player reads its package
#   (stellik_zip_files --read), and by `unzip -p`.
# Prints the best wall time of RUNS runs of each and the ratios.
#
# usage: bench/package/compare-zip.sh [BUILD_DIR] [RUNS] [COUNT SIZE]
# BUILD_DIR holds bench/package/stellik_zip_files (default: build). Without COUNT and SIZE:
# 300 of 200 KB, 800 of 200 KB and 12800 of 2 KB.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
build_dir="${1:-$source_dir/build}"
runs="${2:-5}"
if [ $# -ge 4 ]; then
  shapes=("$3 $4")
else
  shapes=("300 204800" "800 204800" "12800 2048")
fi
writer="$build_dir/bench/package/stellik_zip_files"

# shellcheck source=bench/compare-lib.sh
source "$here/../compare-lib.sh"
require_programs compare-zip "build stellik_zip_files; install zip and unzip" \
  "$writer" /usr/bin/zip /usr/bin/unzip

make_work

printf '%7s %9s | %8s %8s %6s | %8s %8s %6s | %9s\n' members "KB each" zip_s ours_s time_x \
  unzip_s ours_s time_x archive_MB
for shape in "${shapes[@]}"; do
  read -r count size <<<"$shape"
  rm -rf "$work/in"
  "$writer" --make "$work/in" "$count" "$size"
  files=("$work"/in/*)

  # zip adds to an archive it finds: every write starts without one.
  before_run() { rm -f "$work/out.zip"; }
  zip_s=$(best_seconds zip -q -j "$work/out.zip" "${files[@]}")
  ours_s=$(best_seconds "$writer" "$work/out.zip" "${files[@]}")
  unzip -tqq "$work/out.zip"
  bytes=$(stat -c %s "$work/out.zip")

  # Both read the archive our writer made; the names to read come in a file, so that no
  # command line of thousands of names is timed.
  before_run() { :; }
  (cd "$work/in" && ls) >"$work/names.txt"
  unzip_s=$(best_seconds unzip -p "$work/out.zip")
  read_s=$(best_seconds "$writer" --read "$work/out.zip" "$work/names.txt")
  if ! cmp -s <(unzip -p "$work/out.zip") <("$writer" --read "$work/out.zip" "$work/names.txt"); then
    echo "compare-zip: the members read differ from unzip's" >&2
    exit 1
  fi

  awk -v c="$count" -v size="$size" -v zs="$zip_s" -v os="$ours_s" -v us="$unzip_s" \
    -v rs="$read_s" -v b="$bytes" 'BEGIN {
      printf "%7d %9.0f | %8.3f %8.3f %6.2f | %8.3f %8.3f %6.2f | %9.1f\n", c, size / 1024,
             zs, os, (zs > 0 ? os / zs : 0), us, rs, (us > 0 ? rs / us : 0), b / 1048576 }'
done
