#!/usr/bin/env bash
# Times whole processes that turn RTF into plain text: our rtf_to_text driver against
# `unrtf --text` and `pandoc -f rtf -t plain`, on a large generated file and on every golden
# sample. Prints one table row per file with the best wall-clock time of a few runs.
#
# usage: bench/rtf/compare_rtf_tools.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR  a configured build folder (default: build/release); the script builds the two
#              helper programs there
#   RUNS       runs per tool and file, the best counts (default: 10; on the large file the
#              other tools run once)
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$repo/build/release}" && pwd)
runs=${2:-10}

need=()
command -v unrtf >/dev/null || need+=(unrtf)
command -v pandoc >/dev/null || need+=(pandoc)
if ((${#need[@]})); then
    echo "installing ${need[*]}" >&2
    if [[ $(id -u) -eq 0 ]]; then sudo=; else sudo=sudo; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi

cmake --build "$build" --target rtf_to_text make_large_rtf >/dev/null
ours=$build/bin/rtf_to_text

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/make_large_rtf" "$work/large.rtf" 24
# unrtf writes every picture it meets into the current folder.
cd "$work"

# Best wall-clock seconds of N runs of a command, output discarded; "fail" when it fails.
# EPOCHREALTIME, not date(1), so that no helper process is inside the measured interval.
best_of() {
    local n=$1
    shift
    local best=
    for ((i = 0; i < n; i++)); do
        local start end
        start=$EPOCHREALTIME
        if ! "$@" >/dev/null 2>&1; then
            echo fail
            return
        fi
        end=$EPOCHREALTIME
        best=$(awk -v s="$start" -v e="$end" -v b="${best:-}" \
            'BEGIN { t = e - s; if (b == "" || t < b) printf "%.6f", t; else print b }')
    done
    printf '%.4f' "$best"
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (a == "fail" || b == "fail" || a == 0) print "-"; else printf "%.1f", b / a }'
}

printf '| file | bytes | ours s | unrtf s | pandoc s | faster of the two / ours |\n'
printf '|---|---:|---:|---:|---:|---:|\n'
row() {
    local file=$1 name=$2 slowruns=$3
    local size t_ours t_unrtf t_pandoc fastest
    size=$(stat -c %s "$file")
    t_ours=$(best_of "$runs" "$ours" "$file")
    t_unrtf=$(best_of "$slowruns" unrtf --text "$file")
    t_pandoc=$(best_of "$slowruns" pandoc -f rtf -t plain --wrap=none "$file")
    fastest=$(awk -v u="$t_unrtf" -v p="$t_pandoc" 'BEGIN {
        if (u == "fail") print p; else if (p == "fail") print u; else print (u < p ? u : p) }')
    printf '| %s | %s | %s | %s | %s | %s |\n' "$name" "$size" "$t_ours" "$t_unrtf" "$t_pandoc" \
        "$(ratio "$t_ours" "$fastest")"
}

row "$work/large.rtf" "generated (24 MB)" 1
for folder in "$repo"/tests/data/rtf/*/; do
    [[ -f $folder/input.rtf ]] || continue
    row "$folder/input.rtf" "$(basename "$folder")" "$runs"
done
