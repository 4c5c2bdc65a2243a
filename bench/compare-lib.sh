# shellcheck shell=bash disable=SC2154 # $runs is set by the script that sources this
# bench/compare-lib.sh -- timing helpers of the compare-*.sh scripts, sourced by them.
# The measuring functions use $work (make_work sets it) and $runs (the script sets it).

# Exits unless every given program is there; hint says where they come from.
require_programs() {
  local script="$1" hint="$2" program
  shift 2
  for program in "$@"; do
    if [ ! -x "$program" ]; then
      echo "$script: $program is missing ($hint)" >&2
      exit 1
    fi
  done
}

# A scratch folder in $work, removed at exit.
make_work() {
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
}

# Run before each timed run, untimed; a script redefines it to reset what a run leaves.
before_run() { :; }

# Whether seconds a are fewer than seconds b (either may have a fraction).
fewer_seconds() {
  awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'
}

# Wall seconds of one run, to the millisecond.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  awk -v ns="$((end - start))" 'BEGIN { printf "%.4f\n", ns / 1e9 }'
}

# "seconds kbytes" of one run: wall clock (read around the run, to the millisecond) and the
# peak resident set that time -v reports.
measure() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -v "$@" 2>"$work/time.txt" >/dev/null
  end=$(date +%s%N)
  awk -v ns="$((end - start))" -F': ' '
    /Maximum resident set size/ { m = $2 }
    END { printf "%.4f %d\n", ns / 1e9, m }' "$work/time.txt"
}

# The best wall time of RUNS runs.
best_seconds() {
  local best="" s
  for _ in $(seq "$runs"); do
    before_run
    s=$(seconds "$@")
    if [ -z "$best" ] || fewer_seconds "$s" "$best"; then
      best="$s"
    fi
  done
  echo "$best"
}

# "seconds kbytes": the best time and the largest peak of RUNS runs.
best_of() {
  local best_s="" peak=0 s m
  for _ in $(seq "$runs"); do
    before_run
    read -r s m < <(measure "$@")
    if [ -z "$best_s" ] || fewer_seconds "$s" "$best_s"; then
      best_s="$s"
    fi
    [ "$m" -gt "$peak" ] && peak="$m"
  done
  echo "$best_s $peak"
}
