#!/usr/bin/env bash
# Installs what is missing, builds under AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset asan
cmake --build --preset asan
if ! ctest --preset asan -j "$(nproc)"; then
    # The list above names what failed; its words are what tells why, so they come last.
    ctest --preset asan --rerun-failed --output-on-failure 2>&1 | tail -n 200
    exit 1
fi
