#!/bin/sh
# Counting, substitution and the Caesar pass on page-cached 1 GiB files, beside cat and tr:
# best wall time of RUNS rounds, throughput, CPU time (user + system) of that run, the peak
# resident size, and the ratios. The first row of each pass is what the program runs (its
# default options); the rows after it are the other ways of running it, for comparison.
#   bench/analysis/run_benchmarks.sh BUILD_DIR [WORK_DIR] [RUNS]
# WORK_DIR (default /dev/shm/varn-bench) keeps the input files between runs; on tmpfs the
# writes are not throttled by the disk, so the figures are the programs' own. The machine should
# be otherwise idle: the load is printed first.
set -eu
build=$(realpath "${1:?build folder}")
work=${2:-/dev/shm/varn-bench}
runs=${3:-5}
count_bench=$(find "$build" -name analysis_bench -type f | head -n 1)
caesar_bench=$(find "$build" -name caesar_bench -type f | head -n 1)
best_of=$(find "$build" -name best_of -type f | head -n 1)
mkdir -p "$work"
cd "$work"
size=1073741824
[ -f random.bin ] || head -c $size /dev/urandom > random.bin
[ -f one.bin ] || head -c $size /dev/zero | tr '\0' 'e' > one.bin
[ -f text.txt ] || "$count_bench" make-text text.txt $size
cat random.bin one.bin text.txt > /dev/null  # into the page cache

echo "cpu: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "family $(sed -n 's/^cpu family[[:space:]]*: //p' /proc/cpuinfo | head -n 1)" \
    "model $(sed -n 's/^model[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(nproc) cpus," \
    "$(grep -o -w -E 'avx512bw|avx512vbmi|hypervisor' /proc/cpuinfo | sort -u | tr '\n' ' ')"
echo "load: $(cut -d ' ' -f 1-3 /proc/loadavg); best of $runs rounds of every command"
results=$(mktemp)
trap 'rm -f "$results"' EXIT
measure() {  # key, label, command...: one run, kept as key|wall seconds|printed line
    key=$1
    shift
    line=$("$best_of" 1 $size "$@")
    echo "$key|$(echo "$line" | awk '{ print $(NF - 9) }')|$line" >> "$results"
}
seconds() {  # key: its best wall time
    awk -F '|' -v k="$1" '$1 == k && (b == "" || $2 + 0 < b + 0) { b = $2 } END { print b }' "$results"
}
show() {  # key: the line of its best run
    awk -F '|' -v k="$1" '$1 == k && (b == "" || $2 + 0 < b + 0) { b = $2; l = $3 } END { print l }' "$results"
}
ratio() {  # label, slower key, faster key
    awk -v l="$1" -v a="$(seconds "$2")" -v b="$(seconds "$3")" \
        'BEGIN { printf "  %-50s %6.2f\n", l, a / b }'
}

# One untimed run each: every timed run then replaces an output of the same size, and the ways of
# running the substitution are checked against each other.
tr 'a-z' 'b-za' < text.txt > tr.out
"$count_bench" replace text.txt rep.out > /dev/null
"$count_bench" replace text.txt seq.out 0 0 > /dev/null
cmp rep.out seq.out
rm -f seq.out
"$caesar_bench" text.txt > /dev/null

# Rounds rather than runs in a row, so that a burst of other work spoils one run of each
# command at most, not all runs of one.
round=0
while [ $round -lt "$runs" ]; do
    round=$((round + 1))
    measure cat_random "cat random.bin > /dev/null" sh -c "cat random.bin > /dev/null"
    measure count_random "count All random.bin (default: 2 threads)" "$count_bench" count random.bin
    measure count1_random "count All random.bin, 1 thread" "$count_bench" count random.bin 1
    measure cat_one "cat one.bin > /dev/null" sh -c "cat one.bin > /dev/null"
    measure count_one "count All one.bin (default: 2 threads)" "$count_bench" count one.bin
    measure count1_one "count All one.bin, 1 thread" "$count_bench" count one.bin 1
    measure tr "tr 'a-z' 'b-za' < text.txt > tr.out" sh -c "tr 'a-z' 'b-za' < text.txt > tr.out"
    measure replace "ReplaceLetters (default)" "$count_bench" replace text.txt rep.out
    measure replace_seq "ReplaceLetters, one thread, read()" \
        "$count_bench" replace text.txt rep.out 0 0
    measure caesar "Caesar encipher pass (default)" "$caesar_bench" text.txt
    measure caesar_seq "Caesar encipher pass, one thread, read()" "$caesar_bench" text.txt 0
done
rm -f tr.out rep.out __varn__.enc __varn__.tmp

echo "== reading and counting (1 GiB each): best wall time, throughput, user+sys CPU of that run, peak RSS"
for key in cat_random count_random count1_random cat_one count_one count1_one; do
    show $key
done
echo "== translating text.txt (1 GiB, CR LF lines) into a new file"
for key in tr replace replace_seq caesar caesar_seq; do show $key; done
echo "== ratios of wall times (above 1: the second is faster)"
ratio "count All default / cat, random (speed of cat)" cat_random count_random
ratio "count All default / cat, one byte (speed of cat)" cat_one count_one
ratio "count All 1 thread / default, random" count1_random count_random
ratio "tr / ReplaceLetters default" tr replace
ratio "tr / Caesar pass default" tr caesar
ratio "tr / ReplaceLetters, one thread, read()" tr replace_seq
ratio "tr / Caesar pass, one thread, read()" tr caesar_seq
echo "load after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
