#!/usr/bin/env bash
# Checks that the Debian packages a build step needs are installed and installs the missing
# ones with apt-get: directly when run as root, through sudo otherwise. When neither is
# possible (or WW3B_SETUP_INSTALL=no), it prints the one command that installs them and fails.
#
#   tools/setup-check.sh PACKAGE...
#
# Known packages are checked by the file or command they provide, any other by dpkg.
# WW3B_SETUP_MISSING="PACKAGE..." treats those packages as missing (to try the check out).
set -euo pipefail

present() {
    case " ${WW3B_SETUP_MISSING:-} " in *" $1 "*) return 1 ;; esac
    case "$1" in
        cmake | g++ | make) command -v "$1" ;;
        clang) command -v clang++ ;;
        clang-tidy) command -v clang-tidy ;;
        libgtest-dev) test -f /usr/include/gtest/gtest.h ;;
        libbenchmark-dev) test -f /usr/include/benchmark/benchmark.h ;;
        libnetcdf-dev) test -f /usr/include/netcdf.h ;;
        nlohmann-json3-dev) test -f /usr/include/nlohmann/json.hpp ;;
        # The check plots run on Debian's interpreter, whatever python3 comes first.
        python3-matplotlib) /usr/bin/python3 -c 'import matplotlib' ;;
        libclang-rt-14-dev) compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' ;;
        *) [ "$(dpkg-query -W -f='${Status}' "$1")" = "install ok installed" ] ;;
    esac
} >/dev/null 2>&1

missing_of() {
    local package
    for package in "$@"; do
        present "$package" || printf '%s ' "$package"
    done
}

missing="$(missing_of "$@")"
missing="${missing% }"
[ -n "$missing" ] || exit 0

say() { echo "setup: $*" >&2; }
say "missing Debian packages: $missing"

install="apt-get update && apt-get install -y $missing"
if ! command -v apt-get >/dev/null 2>&1; then
    say "apt-get is not here (not a Debian system?): install the equivalents of these packages"
    exit 1
fi
if [ "$(id -u)" -eq 0 ]; then
    as=()
    command="$install"
elif command -v sudo >/dev/null 2>&1; then
    as=(sudo)
    command="sudo apt-get update && sudo apt-get install -y $missing"
    # Without a terminal for its password, sudo can only be used when it asks none.
    [ -t 0 ] || sudo -n true >/dev/null 2>&1 || as=(none)
else
    as=(none)
    command="su -c '$install'"
fi

if [ "${WW3B_SETUP_INSTALL:-yes}" = no ] || [ "${as[*]-}" = none ]; then
    say "install them with this command, then run make again:"
    echo "    $command" >&2
    exit 1
fi

say "installing them: ${as[*]+${as[*]} }apt-get install -y $missing"
# shellcheck disable=SC2086  # the package names are words
if ! { "${as[@]}" apt-get update -qq &&
       "${as[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing </dev/null; }; then
    say "apt-get failed; the command to install them: $command"
    exit 1
fi

still="$(missing_of $missing)"
if [ -n "$still" ]; then
    say "still missing after apt-get: ${still% }"
    exit 1
fi
