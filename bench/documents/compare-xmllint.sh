#!/usr/bin/env bash
# Reading a test document beside xmllint on the same file, each read by our reader (parse, DTD
# defaults, validation, the model) and by `xmllint --valid --noout` (parse with DTD defaults
# and validation), run under /usr/bin/time -v. Two shapes of generated tests:
#   ten-sections  500, 5000 and 30000 questions in ten sections;
#   demo-shaped   500, 5000, 30000 and 120000 questions shaped like the demo test (three
#                 sections and a section message for every fourteen questions).
# Prints the best wall time of RUNS runs and the peak memory of each, the two ratios, and how
# each time grows from the size before (the exponent e in time ~ questions^e).
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

# shape make-option counts...
compare_shape() {
  local shape="$1" make="$2" count file xs xm ss sm before=""
  shift 2
  printf '%s\n' "$shape"
  printf '%9s %8s | %9s %9s | %9s %9s | %6s %6s | %6s %6s\n' questions MB xmllint_s xmllint_MB \
    stellik_s stellik_MB time_x mem_x xml_e ours_e
  for count in "$@"; do
    file="$work/$shape-$count.xml"
    "$reader" "$make" "$count" "$file"
    xmllint --valid --noout "$file"
    "$reader" "$file" >/dev/null
    read -r xs xm < <(best_of xmllint --valid --noout "$file")
    read -r ss sm < <(best_of "$reader" "$file")
    awk -v c="$count" -v size="$(stat -c %s "$file")" -v xs="$xs" -v xm="$xm" -v ss="$ss" \
      -v sm="$sm" -v before="$before" 'BEGIN {
        printf "%9d %8.1f | %9.4f %9.1f | %9.4f %9.1f | %6.2f %6.2f", c, size / 1048576, xs,
               xm / 1024, ss, sm / 1024, (xs > 0 ? ss / xs : 0), sm / xm
        if (split(before, b, " ") == 3 && b[2] > 0 && b[3] > 0 && xs > 0 && ss > 0) {
          printf " | %6.2f %6.2f\n", log(xs / b[2]) / log(c / b[1]), log(ss / b[3]) / log(c / b[1])
        } else {
          printf " | %6s %6s\n", "-", "-"
        }
      }'
    before="$count $xs $ss"
    rm -f "$file"
  done
}

compare_shape ten-sections --make 500 5000 30000
compare_shape demo-shaped --make-demo-shaped 500 5000 30000 120000
