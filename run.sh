#!/usr/bin/env bash
# Installs what is missing, builds, and runs Trellic: the desktop window when a display is
# there, otherwise a headless demo of the engine with tlxtool.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
# Only what running needs: the two programs and the files they read, no tests or benchmarks.
cmake --preset app >/dev/null
cmake --build --preset app

bin=build/app/bin

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -x "$bin/trellic" && "${TRELLIC_HEADLESS:-}" != 1 ]]; then
    exec "$bin/trellic" "$@"
fi

demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT

echo
echo "== No display: a headless demo. (Under Xvfb: xvfb-run -s '-screen 0 1600x1000x24' ./run.sh)"
echo
echo "== The node library and templates shipped beside the program"
find "$bin/node_library" -name default.nod | sort
ls "$bin/templates"

echo
echo "== Building a resume from resources/demo/resume.json and checking it"
"$bin/tlxtool" build resources/demo/resume.json "$demo/resume.tlx"
"$bin/tlxtool" check "$demo/resume.tlx"

echo
echo "== Dumping it back as JSON: the texts that name its nodes"
"$bin/tlxtool" dump "$demo/resume.tlx" > "$demo/resume.json"
grep -E '^ *"(name|header|title|fieldName|fieldData)": "' "$demo/resume.json"

echo
echo "== Rebuilding from the dump gives the same bytes"
"$bin/tlxtool" build "$demo/resume.json" "$demo/again.tlx"
cmp "$demo/resume.tlx" "$demo/again.tlx" && echo "identical"

echo
echo "== Rendering the technical template as plain text, with the engine log"
"$bin/tlxtool" convert "$bin/templates/technical.tlx" "$demo/technical.txt" --renderer txt --log
iconv -f WINDOWS-1252 -t UTF-8 "$demo/technical.txt"
echo
echo
echo "== ... and as RTF for any word processor"
"$bin/tlxtool" convert "$bin/templates/technical.tlx" "$demo/technical.rtf"
head -c 600 "$demo/technical.rtf"
echo " ..."

echo
echo "== ... and as the PDF that Print would print (its text, read back with pdftotext)"
"$bin/tlxtool" convert "$bin/templates/technical.tlx" "$demo/technical.pdf"
pdfinfo "$demo/technical.pdf" | grep -E '^(Pages|Page size):'
pdftotext -layout "$demo/technical.pdf" - | grep -v '^$' | head -12
