#!/usr/bin/env bash
# Making a player beside doing its plain parts with standard tools on the same inputs:
# `stellik-pack` copying the player with the demo test (or a given one) against `cp` of the
# player plus `zip` of the test, its settings and its pictures. Run under /usr/bin/time -v:
# prints the best wall time of RUNS runs and the largest peak memory of each, the time ratio,
# and stellik-pack's peak memory as a multiple of the player's size plus the package's.
#
# usage: bench/tools/compare-pack.sh [BUILD_DIR] [RUNS] [TEST SETTINGS PICTURES]
# BUILD_DIR holds stellik and stellik-pack (default: build).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
build_dir="${1:-$source_dir/build}"
runs="${2:-7}"
test="${3:-$source_dir/demo/demo.xml}"
settings="${4:-$source_dir/demo/settings.xml}"
pictures="${5:-$source_dir/demo/pictures}"
pack="$build_dir/stellik-pack"
player="$build_dir/stellik"

# shellcheck source=bench/compare-lib.sh
source "$here/../compare-lib.sh"
require_programs compare-pack "build stellik and stellik-pack; install zip and time" \
  "$pack" "$player" /usr/bin/zip /usr/bin/time

make_work
# The zip gets what the package holds: the test, the settings and the picture files, named
# from the pictures' folder, where it runs.
mapfile -t picture_files < <(cd "$pictures" && find . -type f | sort)
before_run() { rm -f "$work/copy" "$work/plain.zip" "$work/packed"; }

"$pack" --player "$player" --test "$test" --settings "$settings" --pictures "$pictures" \
  --output "$work/packed"
player_bytes=$(stat -c %s "$player")
packed_bytes=$(stat -c %s "$work/packed")

read -r cs cm < <(best_of cp "$player" "$work/copy")
read -r zs zm < <(cd "$pictures" &&
  best_of zip -q "$work/plain.zip" "$test" "$settings" "${picture_files[@]}")
read -r ps pm < <(best_of "$pack" --player "$player" --test "$test" --settings "$settings" \
  --pictures "$pictures" --output "$work/packed")

awk -v pb="$player_bytes" -v kb="$packed_bytes" -v cs="$cs" -v cm="$cm" -v zs="$zs" -v zm="$zm" \
  -v ps="$ps" -v pm="$pm" 'BEGIN {
    printf "player %.2f MB, made player %.2f MB\n", pb / 1048576, kb / 1048576
    printf "%9s %9s %9s | %9s %9s | %6s %6s\n", "cp_s", "zip_s", "sum_s", "pack_s", "pack_MB",
           "time_x", "mem_x"
    printf "%9.4f %9.4f %9.4f | %9.4f %9.1f | %6.2f %6.2f\n", cs, zs, cs + zs, ps, pm / 1024,
           ps / (cs + zs), pm * 1024 / kb }'
