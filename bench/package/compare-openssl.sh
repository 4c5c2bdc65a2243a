#!/usr/bin/env bash
# Encrypting and decrypting a document beside `openssl enc -rc4 -a` (RC4 and base64, the same
# two steps) on the same data: SIZE_MB of bytes encrypted into an EncryptedData document and
# decrypted back by stellik_xml_crypt, and by openssl with a fixed key. Run under
# /usr/bin/time -v: prints the best wall time of RUNS runs, the largest peak memory, the time
# ratio and our peak memory as a multiple of the data's size.
#
# usage: bench/package/compare-openssl.sh [BUILD_DIR] [RUNS] [SIZE_MB]
# BUILD_DIR holds bench/package/stellik_xml_crypt (default: build).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
build_dir="${1:-$source_dir/build}"
runs="${2:-3}"
size_mb="${3:-100}"
tool="$build_dir/bench/package/stellik_xml_crypt"

# shellcheck source=bench/compare-lib.sh
source "$here/../compare-lib.sh"
require_programs compare-openssl "build stellik_xml_crypt; install openssl and time" \
  "$tool" /usr/bin/openssl /usr/bin/time

make_work
export XDG_DATA_HOME="$work/home" # the key container goes here, not into the real home

rc4=(-rc4 -K 00112233445566778899aabbccddeeff)
if ! openssl enc "${rc4[@]}" -in /dev/null -out /dev/null 2>/dev/null; then
  rc4+=(-provider legacy -provider default) # RC4 lives in the legacy provider in OpenSSL 3
fi

"$tool" keys "$work/key.txt"
head -c $((size_mb * 1048576)) /dev/urandom >"$work/plain"

row() {
  awk -v op="$1" -v os="$2" -v om="$3" -v ss="$4" -v sm="$5" -v data="$size_mb" 'BEGIN {
    printf "%-8s %6d | %9.3f %9.1f | %9.3f %9.1f | %6.2f %6.2f\n", op, data, os, om / 1024,
           ss, sm / 1024, (os > 0 ? ss / os : 0), sm / 1024 / data }'
}

printf '%-8s %6s | %9s %9s | %9s %9s | %6s %6s\n' step data_MB openssl_s openssl_MB stellik_s \
  stellik_MB time_x mem_x
read -r os om < <(best_of openssl enc "${rc4[@]}" -a -in "$work/plain" -out "$work/plain.b64")
read -r ss sm < <(best_of "$tool" encrypt "$work/key.txt" "$work/plain" "$work/doc.xml")
row encrypt "$os" "$om" "$ss" "$sm"
read -r os om < <(best_of openssl enc -d "${rc4[@]}" -a -in "$work/plain.b64" -out "$work/back.ossl")
read -r ss sm < <(best_of "$tool" decrypt "$work/doc.xml" "$work/back")
row decrypt "$os" "$om" "$ss" "$sm"
cmp "$work/plain" "$work/back"
cmp "$work/plain" "$work/back.ossl"
