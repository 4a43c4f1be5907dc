#!/usr/bin/env bash
# Installs what is missing, builds, and runs Trellic. Until the desktop application exists this
# runs the headless demo: a resume built from the shipped sources with tlxtool, checked and dumped.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

bin=build/release/bin
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT

echo
echo "== The node library shipped beside the program"
find "$bin/node_library" -name default.nod | sort

echo
echo "== Building a resume from resources/demo/resume.json"
"$bin/tlxtool" build resources/demo/resume.json "$demo/resume.tlx"
ls -l "$demo/resume.tlx"

echo
echo "== Checking it"
"$bin/tlxtool" check "$demo/resume.tlx"

echo
echo "== Dumping it back as JSON: the texts that name its nodes"
"$bin/tlxtool" dump "$demo/resume.tlx" > "$demo/resume.json"
grep -E '^ *"(name|header|title|fieldName|fieldData)": "' "$demo/resume.json"

echo
echo "== Rebuilding from the dump gives the same bytes"
"$bin/tlxtool" build "$demo/resume.json" "$demo/again.tlx"
cmp "$demo/resume.tlx" "$demo/again.tlx" && echo "identical"
