#!/bin/sh
# Counting, substitution and the Caesar pass on page-cached 1 GiB files, beside cat and tr.
#   bench/analysis/run_benchmarks.sh BUILD_DIR [WORK_DIR]
# WORK_DIR (default /dev/shm/varn-bench) keeps the input files between runs; on tmpfs the
# writes are not throttled by the disk, so the figures are the programs' own.
set -eu
build=${1:?build folder}
work=${2:-/dev/shm/varn-bench}
count_bench=$(find "$build" -name analysis_bench -type f | head -n 1)
caesar_bench=$(realpath "$(find "$build" -name caesar_bench -type f | head -n 1)")
mkdir -p "$work"
cd "$work"
size=1073741824
[ -f random.bin ] || head -c $size /dev/urandom > random.bin
[ -f one.bin ] || head -c $size /dev/zero | tr '\0' 'e' > one.bin
[ -f text.txt ] || "$count_bench" make-text text.txt $size
cat random.bin one.bin text.txt > /dev/null  # into the page cache

timed() {  # label, command...
    label=$1
    shift
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    awk -v l="$label" -v ns=$((end - start)) 'BEGIN { printf "%-44s %8.3f s  %8.0f MB/s\n", l, ns / 1e9, 1073741824 / (ns / 1e3) }'

}

echo "== reading and counting (1 GiB each)"
for f in random.bin one.bin; do
    timed "cat $f > /dev/null:" sh -c "cat $f > /dev/null"
    "$count_bench" count $f 1
    "$count_bench" count $f 2
done
echo "== translating text.txt (1 GiB, CR LF lines)"
rm -f tr.out rep.out __varn__.enc
timed "tr 'a-z' 'b-za' < text.txt > tr.out:" sh -c "tr 'a-z' 'b-za' < text.txt > tr.out"
"$count_bench" replace text.txt rep.out
"$caesar_bench" text.txt
rm -f tr.out rep.out __varn__.enc __varn__.tmp
