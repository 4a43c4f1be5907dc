#!/usr/bin/env bash
# Runs the clang-tidy checks that .clang-tidy enables, as errors.
#   scripts/tidy.sh BUILD_DIR FILE...   every line of the given files
#   scripts/tidy.sh BUILD_DIR           only the lines changed since TIDY_BASE (default HEAD~1:
#                                       the last commit, or everything a merge brought in)
# Changed lines only, because the whole tree takes many minutes and code nobody touches was
# checked when it was written; a changed header is checked through its own .cpp.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:?usage: scripts/tidy.sh BUILD_DIR [FILE...]}
shift
if [ ! -f "$build/compile_commands.json" ]; then
    echo "$build/compile_commands.json is missing: configure the build first" >&2
    exit 1
fi
if ! command -v clang-tidy >/dev/null; then
    echo "clang-tidy is missing: run scripts/install-deps.sh" >&2
    exit 1
fi

files=("$@")
line_filter=()
if [ ${#files[@]} -eq 0 ]; then
    base=${TIDY_BASE:-HEAD~1}
    if ! git rev-parse --verify -q "$base" >/dev/null; then
        echo "no $base to compare with (a shallow clone?): nothing to check"
        exit 0
    fi
    diff=$(git diff -U0 --no-color --diff-filter=d "$base" -- 'src/*.cpp' 'src/*.h')
    mapfile -t files < <(sed -n 's|^+++ b/||p' <<<"$diff")
    # [{"name":"src/a.cpp","lines":[[3,5],[9,9]]},...] from the hunks' "+start,count" parts.
    filter=$(awk '
        /^\+\+\+ b\// { file = substr($0, 7); next }
        /^@@/ {
            split($3, added, ",")
            start = substr(added[1], 2) + 0
            count = (2 in added) ? added[2] + 0 : 1
            if (count > 0) {
                ranges[file] = ranges[file] (ranges[file] == "" ? "" : ",") \
                               "[" start "," start + count - 1 "]"
            }
        }
        END {
            out = ""
            for (f in ranges) {
                out = out (out == "" ? "" : ",") "{\"name\":\"" f "\",\"lines\":[" ranges[f] "]}"
            }
            print "[" out "]"
        }' <<<"$diff")
    if [ "$filter" = "[]" ]; then
        echo "no C++ lines changed since $base"
        exit 0
    fi
    line_filter=(--line-filter="$filter")
fi

sources=()
for f in "${files[@]}"; do
    case "$f" in
    *.h) [ -f "${f%.h}.cpp" ] && sources+=("${f%.h}.cpp") ;;
    *.cpp) sources+=("$f") ;;
    esac
done
if [ ${#sources[@]} -eq 0 ]; then
    echo "no C++ sources to check"
    exit 0
fi
mapfile -t sources < <(printf '%s\n' "${sources[@]}" | sort -u)

echo "clang-tidy: ${sources[*]}"
clang-tidy -p "$build" --quiet --warnings-as-errors='*' "${line_filter[@]}" "${sources[@]}" \
    2> >(grep -v 'warnings\( and [0-9]* errors\)\? generated' >&2)
