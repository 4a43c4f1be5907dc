#!/usr/bin/env bash
# Builds the Debian package of Trellic into build/package/deb/ and checks it with lintian.
# It installs what it needs first (dpkg-dev finds the libraries the package depends on;
# without it CPack would quietly write a package that depends on nothing).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh dpkg-dev fakeroot file lintian

build=build/package
out=$build/deb
# Debian's hardening flags: fortified library calls, stack protection, and full RELRO with
# immediate binding, so the dynamic linker's tables are read-only once the program runs.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake --preset package --fresh >/dev/null
cmake --build --preset package

rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$PWD/deb" >/dev/null)
rm -rf "$out/_CPack_Packages"
shopt -s nullglob
debs=("$out"/*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "package.sh: expected one package in $out, found ${#debs[@]}" >&2
    exit 1
fi
deb=${debs[0]}

# The libraries come from dpkg-shlibdeps; a package without them would install and not run.
depends=$(dpkg-deb -f "$deb" Depends)
if ! grep -q 'libqt6widgets6' <<<"$depends" || ! grep -q 'libc6' <<<"$depends"; then
    echo "package.sh: $deb does not depend on the libraries it links (Depends: $depends)" >&2
    rm -f "$deb"
    exit 1
fi

# The hardening must have reached the linker: every program binds at start and has RELRO.
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
for program in "$contents"/usr/lib/*/trellic/{trellic,tlxtool,tlxtool-full}; do
    dynamic=$(readelf -d "$program")
    segments=$(readelf -lW "$program")
    if ! grep -q BIND_NOW <<<"$dynamic" || ! grep -q GNU_RELRO <<<"$segments"; then
        echo "package.sh: ${program#"$contents"} was linked without -z relro -z now" >&2
        rm -f "$deb"
        exit 1
    fi
done

echo "== $deb"
dpkg-deb -f "$deb" Package Version Depends Recommends
echo "== lintian (errors fail the build)"
lintian --info "$deb"
