#!/usr/bin/env bash
# Installs what is missing, builds under AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan -j "$(nproc)"
