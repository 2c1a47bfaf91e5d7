#!/bin/sh
# Whole-file IDEA throughput of the module, and the cipher alone, against Botan's raw cipher
# speed measured in the same run.
# Usage: bench/crypt/run.sh [BUILD_DIR] [FILE] [PATHS]   (FILE defaults to a 1 GiB file in
# /dev/shm; PATHS, e.g. avx2,avx512bw, limits the whole-file rows to those vector paths)
set -eu
build=${1:-build}
file=${2:-/dev/shm/varn_bench_1g.dat}
paths=${3:-}
bench="$build/bench/crypt/bench_crypt"
[ -x "$bench" ] || { echo "build it first: cmake --build $build --target bench_crypt" >&2; exit 1; }
command -v botan >/dev/null || { echo "botan not found (apt-get install botan)" >&2; exit 1; }

speed() { echo "$1" | awk -v what="$2" '$0 ~ what { for (i = 1; i <= NF; i++) if ($i == "MiB/sec") print $(i-1) }'; }

echo "cpu: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "family $(sed -n 's/^cpu family[[:space:]]*: //p' /proc/cpuinfo | head -n 1)" \
    "model $(sed -n 's/^model[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(nproc) cpus," \
    "$(grep -o -w -E 'avx2|avx512bw|hypervisor' /proc/cpuinfo | sort -u | tr '\n' ' ')"
echo "load: $(cut -d ' ' -f 1-3 /proc/loadavg)"
botan_out=$(botan speed --msec=1000 IDEA)
echo "$botan_out"
botan_enc=$(speed "$botan_out" "IDEA encrypt")
botan_dec=$(speed "$botan_out" "IDEA decrypt")
echo

out=$("$bench" "$file" 1024 3 "$paths")
echo "$out"
echo
echo "ratio to Botan (encrypt $botan_enc MiB/s, decrypt $botan_dec MiB/s):"
echo "$out" | awk -v be="$botan_enc" -v bd="$botan_dec" '
    $2 ~ /^[0-9]/ { printf "%-9s %7s %8.2fx %8.2fx\n", $1, $2, $3 / be, $4 / bd; next }
    NF == 0 { print ""; next }
    { print }'
echo "load after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
