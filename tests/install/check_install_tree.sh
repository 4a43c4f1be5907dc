#!/usr/bin/env bash
# Installs the build into a scratch tree and checks that everything the program reads beside
# itself came along, and that the installed tool finds it from the link in bin/.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root="$stage/usr"
lib=$(dirname "$(readlink -f "$root/bin/tlxtool")")
fail=0
need() { [[ -e "$1" ]] || { echo "missing: ${1#$stage}"; fail=1; }; }

need "$root/bin/trellic"
need "$root/bin/tlxtool"
need "$lib/trellic"
need "$lib/tlxtool-full"
need "$lib/node_library/resume/default.nod"
need "$lib/media/welcome.jpg"
need "$lib/media/about.gif"
need "$lib/docs/index.html"
need "$lib/docs/troubleshooting.html"
need "$root/share/applications/trellic.desktop"
need "$root/share/icons/hicolor/scalable/apps/trellic.svg"
templates=("$lib"/templates/*.tlx)
[[ ${#templates[@]} -ge 5 ]] || { echo "only ${#templates[@]} templates installed"; fail=1; }
# Every node-library category the build makes is installed.
for category in "$build"/bin/node_library/*/; do
    need "$lib/node_library/$(basename "$category")/default.nod"
done

# The installed tool, started through its link, reads a template and the node library.
"$root/bin/tlxtool" convert "${templates[0]}" "$stage/out.txt" --renderer txt
grep -q "Phone:" "$stage/out.txt" || { echo "installed tlxtool rendered nothing"; fail=1; }
# A PDF is written by tlxtool-full, which the tool finds beside itself, not beside the link.
"$root/bin/tlxtool" convert "${templates[0]}" "$stage/out.pdf" ||
    { echo "installed tlxtool wrote no PDF"; fail=1; }
[[ "$(head -c 5 "$stage/out.pdf" 2>/dev/null)" == "%PDF-" ]] || { echo "out.pdf is no PDF"; fail=1; }
# The commands that need none of them load none of the large libraries.
if needed=$(readelf -d "$lib/tlxtool" | grep -E 'NEEDED.*(Qt|poppler|nuspell|icu|zip)'); then
    echo "tlxtool loads what only tlxtool-full needs: $needed"
    fail=1
fi
exit $fail
