#!/bin/sh
# Counting ("All") and substitution ("Create...") of one Russian text in each encoding: the
# Windows-1251 text (about 690 MB) and the same characters in UTF-8 (about 1 GiB), KOI8-R and
# CP866. Best wall time of RUNS, with the CPU time and peak resident size of that run.
#   bench/text/run_encoding_benchmarks.sh BUILD_DIR [WORK_DIR] [RUNS] [BYTES]
set -eu
build=$(realpath "${1:?build folder}")
work=${2:-/dev/shm/varn-encoding-bench}
runs=${3:-3}
bytes=${4:-690000000}
bench=$(find "$build" -name analysis_bench -type f | head -n 1)
mkdir -p "$work"
cd "$work"
[ -f windows-1251.txt ] || "$bench" make-text windows-1251.txt "$bytes"
for encoding in utf-8 koi8-r cp866; do
    [ -f "$encoding.txt" ] || "$bench" convert windows-1251.txt "$encoding.txt" "$encoding"
done
echo "load: $(cut -d ' ' -f 1-3 /proc/loadavg); best of $runs"
best() {  # label, command...: the best run's wall seconds, CPU seconds and peak KB
    label=$1
    shift
    best=""
    for run in $(seq "$runs"); do
        line=$(/usr/bin/time -f "%e %U %S %M" "$@" 2>&1 >/dev/null | tail -n 1)
        wall=${line%% *}
        if [ -z "$best" ] || awk -v a="$wall" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
            best=$line
        fi
    done
    echo "$best" | awk -v l="$label" '{ printf "| %s | %.3f s | %.2f s | %d KB |\n", l, $1, $2 + $3, $4 }'
}
echo "| pass | wall | CPU | peak RSS |"
echo "|---|---|---|---|"
for encoding in windows-1251 utf-8 koi8-r cp866; do
    size=$(stat -c %s "$encoding.txt")
    best "count, $encoding ($size bytes)" "$bench" count "$encoding.txt" 2 0 "$encoding"
done
for encoding in windows-1251 utf-8 koi8-r cp866; do
    size=$(stat -c %s "$encoding.txt")
    best "substitution, $encoding ($size bytes)" "$bench" replace "$encoding.txt" out.txt 1 0 "$encoding"
    rm -f out.txt
done
