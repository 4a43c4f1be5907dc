#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# Names given as arguments are installed too (scripts/package.sh asks for its tools that way).
# Installing needs root: through sudo where there is one; otherwise it says what to run.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev poppler-utils libpoppler-cpp-dev qpdf
    libzip-dev python3-docx python3-odf
    # The JSON Resume tests validate the export against the official schema.
    python3-jsonschema
    libnuspell-dev libicu-dev hunspell-en-us hunspell-en-gb
    clang clang-format clang-tidy git
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # DejaVu draws Latin, Greek, Cyrillic, Hebrew, Arabic and Vietnamese text; WenQuanYi Micro
    # Hei (5 MB) Chinese, Japanese and Korean. The tests print every one of them to PDF.
    fonts-liberation fonts-dejavu-core fonts-wqy-microhei
    qt6-translations-l10n
    appstream desktop-file-utils shared-mime-info man-db
)
# npm fetches the JSON Resume schema and samples for the tests; a Node.js from elsewhere may
# bring its own npm, which Debian's package would clash with.
if ! command -v npm >/dev/null 2>&1; then
    packages+=(npm)
fi
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        {
            echo "These Debian packages are missing: ${missing[*]}"
            echo "Installing them needs root, and there is no sudo here. As root, run:"
            echo
            echo "    apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
            echo
            echo "then run this again."
        } >&2
        exit 1
    fi
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
