#!/usr/bin/env bash
# Installs the build into a scratch tree and checks what the desktop and Debian's tools read
# from it: the .tlx file type (by name and by the magic at the start of every shipped
# template), the desktop entry, the metainfo, the manual pages and the package documents.
# Arguments: the build folder, the source folder, the mime_type_of program.
set -euo pipefail
build=$1
source=$2
mime_type_of=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail=0
problem() { echo "$*"; fail=1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
share="$stage/usr/share"

# The MIME type, compiled as the shared-mime-info trigger does after installing.
type=application/x-trellic
errors=$(XDG_DATA_DIRS="$share" XDG_DATA_HOME="$stage/none" update-mime-database "$share/mime" 2>&1) || problem "update-mime-database failed"
[[ -z "$errors" ]] || problem "update-mime-database: $errors"
templates=("$build"/bin/templates/*.tlx)
[[ ${#templates[@]} -ge 5 ]] || problem "only ${#templates[@]} templates built"
# A copy without the extension can only be told by its contents.
cp "${templates[0]}" "$stage/no-extension"
printf 'not a resume\n' >"$stage/other.txt"
results=$(XDG_DATA_DIRS="$share" XDG_DATA_HOME="$stage/none" QT_QPA_PLATFORM=offscreen \
    "$mime_type_of" "${templates[@]}" "$stage/no-extension" "$stage/other.txt")
count=0
while read -r byName byContent; do
    count=$((count + 1))
    if [[ $count -le ${#templates[@]} ]]; then
        [[ $byName == "$type" && $byContent == "$type" ]] ||
            problem "template $count is $byName by name, $byContent by contents"
    elif [[ $count -eq $((${#templates[@]} + 1)) ]]; then
        [[ $byContent == "$type" ]] || problem "the copy without .tlx is $byContent"
    else
        [[ $byContent != "$type" ]] || problem "a text file was taken for a resume"
    fi
done <<<"$results"
[[ -e "$share/icons/hicolor/scalable/mimetypes/${type/\//-}.svg" ]] || problem "no icon for $type"

# The desktop entry opens that type, and takes the file.
entry="$share/applications/trellic.desktop"
desktop-file-validate "$entry" || problem "desktop-file-validate complained"
grep -qx "MimeType=$type;" "$entry" || problem "the desktop entry does not name $type"
grep -qE '^Exec=trellic %[fF]$' "$entry" || problem "the desktop entry takes no file"

# Software centres read the metainfo; it names the desktop entry that is installed.
metainfo=("$share"/metainfo/*.metainfo.xml)
[[ ${#metainfo[@]} -eq 1 ]] || problem "expected one metainfo file"
appstreamcli validate --no-net --pedantic "${metainfo[0]}" >"$stage/as.txt" 2>&1 ||
    { cat "$stage/as.txt"; problem "appstreamcli validate failed"; }
grep -q '<launchable type="desktop-id">trellic.desktop</launchable>' "${metainfo[0]}" ||
    problem "the metainfo launches something else"
! grep -q '@[A-Z_]*@' "${metainfo[0]}" || problem "the metainfo still holds a placeholder"

# Manual pages: installed compressed, free of formatting warnings, and tlxtool's page
# describes every command that its usage lists.
for page in trellic tlxtool; do
    file="$share/man/man1/$page.1.gz"
    [[ -e "$file" ]] || { problem "no manual page $page(1)"; continue; }
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null)
    [[ -z "$warnings" ]] || problem "$page(1): $warnings"
    ! zgrep -q '@[A-Z_]*@' "$file" || problem "$page(1) still holds a placeholder"
done
commands=$("$build/bin/tlxtool" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF && !/^Commands/ && /^  [a-z]/ {print $1}')
[[ -n "$commands" ]] || problem "tlxtool --help lists no commands"
for command in $commands; do
    zgrep -q "^\.B $command " "$share/man/man1/tlxtool.1.gz" || problem "tlxtool(1) lacks $command"
done

# The package documents Debian asks for: the licence as the copyright file, and the changelog,
# whose newest entry is this version.
doc="$share/doc/trellic"
cmp -s "$source/LICENSE" "$doc/copyright" || problem "the copyright file is not LICENSE"
gzip -t "$doc/changelog.Debian.gz" || problem "the changelog is not gzip"
version=$("$build/bin/tlxtool" --version | awk '{print $NF}')
zcat "$doc/changelog.Debian.gz" | head -1 | grep -q "^trellic ($version-[0-9]*) " ||
    problem "the changelog's newest entry is not $version: $(zcat "$doc/changelog.Debian.gz" | head -1)"
exit $fail
