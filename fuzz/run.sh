#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset) when needed and runs each of them for SECONDS,
# starting from the inputs kept under tests/data, then prints what every run did.
#
#   fuzz/run.sh [SECONDS] [TARGET...]   default 60 seconds, every target
#
# New inputs the fuzzer finds go to build/fuzz/corpus/<target>/, crashes to
# build/fuzz/artifacts/<target>/; neither touches the kept inputs. Exits 1 when any target
# found a crash, leak or timeout.
set -euo pipefail

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: fuzz/run.sh [SECONDS] [TARGET...]" >&2
    exit 2
fi
shift || true
wanted=("$@")

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/fuzz"
cd "$root"

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset fuzz "${launcher[@]}" >/dev/null
fi

mapfile -t targets < <(cmake --build "$build" --target help | sed -n 's/^\([a-z_]*_fuzzer\):.*/\1/p' | sort)
if [ "${#wanted[@]}" -gt 0 ]; then
    for target in "${wanted[@]}"; do
        if ! printf '%s\n' "${targets[@]}" | grep -qx "$target"; then
            echo "fuzz/run.sh: no target $target (there are: ${targets[*]})" >&2
            exit 2
        fi
    done
    targets=("${wanted[@]}")
fi
if [ "${#targets[@]}" -eq 0 ]; then
    echo "fuzz/run.sh: the fuzz preset defines no targets" >&2
    exit 1
fi
cmake --build "$build" --target "${targets[@]}"
# The JSON Resume samples seed the import's fuzzer when npm can fetch them.
scripts/fetch-jsonresume-schema.sh --soft "$build/jsonresume-schema"

# The kept inputs each target starts from.
seeds_for() {
    case "$1" in
    tlx_read_fuzzer) echo "tests/data/tlx/fuzz-corpus tests/data/tlx/regressions" ;;
    rtf_read_fuzzer) echo "tests/data/rtf/fuzz-corpus tests/data/rtf/fuzz-regressions" ;;
    json_resume_import_fuzzer)
        echo "tests/data/jsonresume/fuzz-seeds build/fuzz/jsonresume-schema/package" \
            "build/fuzz/jsonresume-schema/package/examples"
        ;;
    text_decode_fuzzer) echo "tests/data/text/fuzz-seeds" ;;
    esac
}

failed=0
summary=()
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    log="$build/logs/$target.log"
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
    seeds=()
    for folder in $(seeds_for "$target"); do
        [ -d "$folder" ] && seeds+=("$root/$folder")
    done
    echo "== $target: ${seconds} s"
    # Thirty seconds for one input: a real hang still shows, and a busy two-core machine that
    # leaves the fuzzer waiting for a while does not count as one.
    status=0
    "$build/bin/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=30 \
        -rss_limit_mb=2048 -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" \
        >"$log" 2>&1 || status=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    peak="$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -n 1)"
    inputs="$(find "$corpus" -type f | wc -l)"
    if [ "$status" -eq 0 ]; then
        result="no failures"
    else
        result="FAILED (exit $status), see $log and $artifacts"
        failed=1
        grep -m 3 -E '^==[0-9]+==ERROR|^SUMMARY|deadly signal|timeout' "$log" || true
    fi
    summary+=("$(printf '%-18s %12s executions  %6s MB peak  %6s corpus inputs  %s' \
        "$target" "${runs:-?}" "${peak:-?}" "$inputs" "$result")")
done

echo
printf '%s\n' "${summary[@]}"
exit "$failed"
