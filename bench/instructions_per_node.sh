#!/usr/bin/env bash
# Counts the instructions per node of writing and reading .tlx files and of rendering under
# both renderers, at each size the benchmarks use, under callgrind. Instruction counts do not
# depend on the load of the machine, so builds can be compared on a busy one; they leave out
# what memory costs (cache misses, page faults), which the timed benchmarks show.
#   bench/instructions_per_node.sh BUILD_DIR...   (Release builds with the benchmarks)
# Each operation runs once after a first, untimed run, and only the second is counted.
set -euo pipefail

if [ $# -eq 0 ]; then
    echo "usage: bench/instructions_per_node.sh BUILD_DIR..." >&2
    exit 1
fi
if ! command -v valgrind >/dev/null; then
    echo "valgrind is missing" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints the instructions per node of the last call of FUNCTION (a name nm prints) while
# BENCH runs the benchmark FILTER once.
count() {
    local bench=$1 function=$2 filter=$3 nodes=$4
    local name
    name=$(nm -C "$bench" | grep -m1 " T ${function}(" | cut -d' ' -f3-)
    rm -f "$work"/out*
    valgrind --tool=callgrind --callgrind-out-file="$work/out" "--toggle-collect=$name" \
        "--dump-after=$name" "$bench" "--benchmark_filter=^$filter\$" \
        --benchmark_min_time=0 >/dev/null 2>&1
    local last
    last=$(ls "$work"/out.* | sort -t. -k2 -n | tail -1)
    awk -v nodes="$nodes" '/^totals:/ { printf "%6.0f", $2 / nodes }' "$last"
}

printf "%-28s %8s %8s %8s %8s %8s\n" build nodes write read RTF TXT
for build in "$@"; do
    bin=$build/bin
    for nodes in 1000 10000 100000; do
        # A file holds at most six full tables of 10,000 records.
        readNodes=$nodes
        if [ "$nodes" -gt 60000 ]; then
            readNodes=60000
        fi
        printf '%-28s %8s %8s %8s %8s %8s\n' "$build" "$nodes" \
            "$(count "$bin/tlx_io" 'trellic::WriteTLX\[abi:cxx11\]' "BM_WriteTLX/$nodes" "$nodes")" \
            "$(count "$bin/tlx_io" 'trellic::ReadTLX' "BM_ReadTLX/$readNodes" "$readNodes")" \
            "$(count "$bin/render_bench" 'trellic::RenderResume' "BM_Render/$nodes/0" "$nodes")" \
            "$(count "$bin/render_bench" 'trellic::RenderResume' "BM_Render/$nodes/1" "$nodes")"
    done
done
echo "read: at 100,000 nodes, the largest file the reader accepts (60,000 nodes)"
