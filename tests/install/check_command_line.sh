#!/usr/bin/env bash
# Runs the built trellic where there is no display at all and where Qt would use its
# offscreen platform: --help and --version answer, a wrong option is a usage error with exit
# status 1, and none of them reaches the window system (which would abort with status 134).
# Argument: the folder with the built programs.
set -euo pipefail
trellic=$1/trellic
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail=0

# run PLATFORM EXPECTED-STATUS ARGUMENTS...: leaves stdout and stderr in $out.
run() {
    local platform=$1 expected=$2 status=0
    shift 2
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="$platform" \
        "$trellic" "$@" >"$out/stdout" 2>"$out/stderr" </dev/null || status=$?
    if [[ $status -ne $expected ]]; then
        echo "trellic $* ($platform): exit $status, expected $expected"
        sed 's/^/  /' "$out/stderr"
        fail=1
        return 1
    fi
}

for platform in xcb offscreen; do
    if run "$platform" 1 --bogus; then
        grep -q 'bogus' "$out/stderr" || { echo "the error does not name the option"; fail=1; }
        grep -q -- "--help" "$out/stderr" || { echo "the error does not point to --help"; fail=1; }
        [[ ! -s "$out/stdout" ]] || { echo "a usage error wrote to standard output"; fail=1; }
    fi
    run "$platform" 1 -platform "$platform" -x resume.tlx || true
    if run "$platform" 0 --help; then
        grep -q '^Usage: .*trellic \[options\] \[file\]' "$out/stdout" || { echo "--help shows no usage"; fail=1; }
    fi
    if run "$platform" 0 -style fusion --version; then
        grep -qx 'Trellic [0-9.]*' "$out/stdout" || { echo "--version: $(cat "$out/stdout")"; fail=1; }
    fi
done
exit $fail
