#!/usr/bin/env bash
# Fails when clang-format, with the repository's .clang-format, would change any C++ file.
# `clang-format -i FILE...` mends what it reports.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
    echo "clang-format is missing: run scripts/install-deps.sh" >&2
    exit 1
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
else
    find src tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format --dry-run -Werror
fi
