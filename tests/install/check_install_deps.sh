#!/usr/bin/env bash
# Runs scripts/install-deps.sh as an ordinary user would meet it, with stand-ins for id,
# dpkg-query, sudo and apt-get: where every package is missing and there is no sudo it must
# say what to run as root and stop without calling apt-get; with sudo it installs through it.
# Argument: the source folder.
set -euo pipefail
script=$1/scripts/install-deps.sh
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
fail=0
problem() { echo "$*"; fail=1; }

mkdir "$fake/bin"
for tool in bash grep env cat; do ln -s "$(command -v "$tool")" "$fake/bin/$tool"; done
printf '#!/bin/bash\necho 1000\n' >"$fake/bin/id"
printf '#!/bin/bash\nexit 1\n' >"$fake/bin/dpkg-query"
printf '#!/bin/bash\necho "apt-get $*" >>%q\n' "$fake/calls" >"$fake/bin/apt-get"
chmod +x "$fake/bin/"*

status=0
PATH="$fake/bin" bash "$script" extra-tool >"$fake/out" 2>"$fake/err" || status=$?
[[ $status -eq 1 ]] || problem "without sudo: exit $status, expected 1"
[[ ! -e "$fake/calls" ]] || problem "without sudo, apt-get was called: $(cat "$fake/calls")"
grep -q 'no sudo' "$fake/err" || problem "without sudo, no word of it: $(cat "$fake/err")"
command=$(grep -E '^ +apt-get update && apt-get install ' "$fake/err" || true)
[[ -n "$command" ]] || problem "without sudo, no command to run as root"
for package in cmake qt6-base-dev extra-tool; do
    grep -qw -- "$package" <<<"$command" || problem "the root command lacks $package"
done

printf '#!/bin/bash\necho "sudo $1" >>%q\n"$@"\n' "$fake/calls" >"$fake/bin/sudo"
chmod +x "$fake/bin/sudo"
PATH="$fake/bin" bash "$script" >"$fake/out" 2>"$fake/err" || problem "with sudo: failed"
grep -q '^apt-get install .*qt6-base-dev' "$fake/calls" || problem "with sudo, nothing installed"
grep -q '^sudo ' "$fake/calls" || problem "with sudo, apt-get was not run through it"
exit $fail
