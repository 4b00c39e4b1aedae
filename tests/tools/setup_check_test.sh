#!/usr/bin/env bash
# The set-up check: what it reports and what it runs, for root, a user with sudo, a user
# whose sudo asks for a password and a user without sudo. id, sudo and apt-get are stand-ins
# that log their calls, and WW3B_SETUP_MISSING makes a package count as missing, so nothing
# is installed for real.
#
#   setup_check_test.sh tools/setup-check.sh
set -uo pipefail
check="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

stand_ins() {  # stand_ins UID SUDO (ok, password or absent)
    rm -rf "$work/bin" "$work/log"
    mkdir "$work/bin"
    printf '#!/bin/sh\necho %s\n' "$1" >"$work/bin/id"
    printf '#!/bin/sh\necho "apt-get $*" >>"%s"\n' "$work/log" >"$work/bin/apt-get"
    case "$2" in
        ok) printf '#!/bin/sh\n[ "$*" = "-n true" ] || echo "sudo $*" >>"%s"\n' "$work/log" ;;
        password) printf '#!/bin/sh\nexit 1\n' ;;
        absent) : ;;
    esac >"$work/bin/sudo"
    [ "$2" != absent ] || rm "$work/bin/sudo"
    chmod +x "$work"/bin/*
}

# name | uid | sudo | missing | WW3B_SETUP_INSTALL | packages | status | in the report | in the log ("-": none)
cases=(
    "present|1000|absent||yes|cmake make bash|0||-"
    "root installs|0|absent|libnetcdf-dev|yes|cmake libnetcdf-dev|1|still missing after apt-get: libnetcdf-dev|apt-get update -qq;apt-get install -y -qq libnetcdf-dev"
    "sudo installs|1000|ok|libgtest-dev python3-matplotlib|yes|cmake libgtest-dev python3-matplotlib|1|missing Debian packages: libgtest-dev python3-matplotlib|sudo apt-get update -qq;sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libgtest-dev python3-matplotlib"
    "sudo asks a password|1000|password|libnetcdf-dev|yes|g++ libnetcdf-dev|1|    sudo apt-get update && sudo apt-get install -y libnetcdf-dev|-"
    "no sudo|1000|absent|cmake clang|yes|cmake g++ clang|1|    su -c 'apt-get update && apt-get install -y cmake clang'|-"
    "installing refused|0|absent|libbenchmark-dev|no|libbenchmark-dev|1|    apt-get update && apt-get install -y libbenchmark-dev|-"
)
for row in "${cases[@]}"; do
    IFS='|' read -r name uid sudo missing install packages status report log <<<"$row"
    if [ "$sudo" = absent ] && [ "$uid" != 0 ] && PATH=/usr/sbin:/usr/bin:/sbin:/bin command -v sudo >/dev/null; then
        echo "skipped: $name (this machine has sudo)"
        continue
    fi
    stand_ins "$uid" "$sudo"
    # shellcheck disable=SC2086  # the package names are words
    errors="$(PATH="$work/bin:$PATH" WW3B_SETUP_MISSING="$missing" WW3B_SETUP_INSTALL="$install" \
              bash "$check" $packages 2>&1 </dev/null)"
    got=$?
    calls="$(tr '\n' ';' 2>/dev/null <"$work/log")"
    calls="${calls%;}"
    fault=""
    [ "$got" = "$status" ] || fault+=" status $got, not $status;"
    if [ -z "$report" ]; then
        [ -z "$errors" ] || fault+=" a report where none was due;"
    else
        grep -qxF -- "$report" <<<"$errors" || grep -qF -- "setup: $report" <<<"$errors" || fault+=" no line \"$report\";"
    fi
    [ "${calls:--}" = "$log" ] || fault+=" ran \"${calls:--}\", not \"$log\";"
    if [ -n "$fault" ]; then
        echo "FAILED: $name:$fault"
        echo "$errors" | sed 's/^/    | /'
        failures=$((failures + 1))
    else
        echo "ok: $name"
    fi
done
exit $((failures > 0))
