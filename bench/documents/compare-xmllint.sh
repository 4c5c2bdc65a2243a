#!/usr/bin/env bash
# Reading a test document beside xmllint on the same file: generated tests of 500, 5000 and
# 30000 questions, each read by our reader (parse, DTD defaults, validation, the model) and by
# `xmllint --valid --noout` (parse with DTD defaults and validation), run under /usr/bin/time -v.
# Prints the best wall time of RUNS runs and the peak memory of each, and the two ratios.
#
# usage: bench/documents/compare-xmllint.sh [BUILD_DIR] [RUNS]
# BUILD_DIR holds bench/documents/stellik_read_test_document (default: build).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
build_dir="${1:-$source_dir/build}"
runs="${2:-5}"
reader="$build_dir/bench/documents/stellik_read_test_document"

# shellcheck source=bench/compare-lib.sh
source "$here/../compare-lib.sh"
require_programs compare-xmllint "build the reader; xmllint comes from libxml2-utils" \
  "$reader" /usr/bin/xmllint /usr/bin/time

make_work
cp "$source_dir"/resources/XTF_v1p*.dtd "$work"/

printf '%9s %8s | %9s %9s | %9s %9s | %6s %6s\n' questions MB xmllint_s xmllint_MB stellik_s \
  stellik_MB time_x mem_x
for count in 500 5000 30000; do
  file="$work/test-$count.xml"
  "$reader" --make "$count" "$file"
  xmllint --valid --noout "$file"
  "$reader" "$file" >/dev/null
  read -r xs xm < <(best_of xmllint --valid --noout "$file")
  read -r ss sm < <(best_of "$reader" "$file")
  awk -v c="$count" -v size="$(stat -c %s "$file")" -v xs="$xs" -v xm="$xm" -v ss="$ss" -v sm="$sm" \
    'BEGIN { printf "%9d %8.1f | %9.4f %9.1f | %9.4f %9.1f | %6.2f %6.2f\n",
             c, size / 1048576, xs, xm / 1024, ss, sm / 1024, (xs > 0 ? ss / xs : 0), sm / xm }'
done
