#!/usr/bin/env bash
# Fetches the JSON Resume schema and its sample resumes (the npm package @jsonresume/schema)
# into DEST/package, for the tests of the JSON Resume import and export. Nothing of it is kept
# in the repository.
#
#   scripts/fetch-jsonresume-schema.sh [--soft] DEST
#
# The package is checked against the integrity npm publishes for it. With --soft a failed
# fetch (no npm, no network) is only reported, so the build goes on and the tests that need
# the files say what is missing.
set -euo pipefail

version=1.3.1
integrity="sha512-S9zH1vmS67b1Ld6p9A+sHiZgqZox4lWTVHtca3VarRVkRtp3C/EMQ2bSNlO39+o+0OZbrY+Srnn7Q8uJOtxZhQ=="

soft=0
if [ "${1:-}" = "--soft" ]; then
    soft=1
    shift
fi
if [ $# -ne 1 ]; then
    echo "usage: scripts/fetch-jsonresume-schema.sh [--soft] DEST" >&2
    exit 2
fi
dest="$1"

fail() {
    echo "fetch-jsonresume-schema: $*" >&2
    [ "$soft" -eq 1 ] && exit 0
    exit 1
}

stamp="$dest/package/.version"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ]; then
    exit 0
fi
command -v npm >/dev/null 2>&1 || fail "npm is missing (scripts/install-deps.sh installs it)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if ! (cd "$work" && npm pack --silent --pack-destination "$work" \
        "@jsonresume/schema@$version" >/dev/null 2>"$work/npm.log"); then
    fail "npm pack @jsonresume/schema@$version failed: $(tail -n 3 "$work/npm.log")"
fi
tarball="$work/jsonresume-schema-$version.tgz"
[ -f "$tarball" ] || fail "npm pack wrote no $tarball"
got="sha512-$(python3 -c 'import base64, hashlib, sys
print(base64.b64encode(hashlib.sha512(open(sys.argv[1], "rb").read()).digest()).decode())' \
    "$tarball")"
[ "$got" = "$integrity" ] || fail "the package's checksum is $got, not the published $integrity"

mkdir -p "$work/unpacked"
tar -xzf "$tarball" -C "$work/unpacked"
echo "$version" >"$work/unpacked/package/.version"
mkdir -p "$dest"
rm -rf "$dest/package"
mv "$work/unpacked/package" "$dest/package"
