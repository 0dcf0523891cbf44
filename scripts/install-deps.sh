#!/usr/bin/env bash
# Installs the Debian packages Quillan needs to build, run and test, when any
# of them is missing.  Works as root or through sudo.
#
# Options add the tools of the CI's extra checks:
#   --fuzz   clang and its runtime with libFuzzer (QUILLAN_FUZZ builds)
#   --tidy   clang-tidy (scripts/clang-tidy.sh)
set -euo pipefail

packages=(
    build-essential cmake
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
    libgtest-dev
    xvfb xauth
    openbox x11-utils               # a window manager for the framed layout tests
    desktop-file-utils appstream    # the desktop entry and metainfo tests
    dpkg-dev file                   # dpkg-shlibdeps for the Debian package
)

for option in "$@"; do
    case "$option" in
        --fuzz) packages+=(clang libclang-rt-14-dev) ;;
        --tidy) packages+=(clang-tidy) ;;
        *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=()
else
    SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
