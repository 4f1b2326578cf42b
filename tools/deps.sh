#!/usr/bin/env bash
# deps.sh: installs the Debian packages that building the game needs; with --test, also
# those that its tests need; with --package, those that building the Debian package needs;
# with --shots, also those that tools/screenshots.sh needs; with --windows, those that the
# Windows build (tools/windows.sh) and its runs under Wine need; with --web, those that the
# browser's build (tools/web.sh) and its checks in headless Chromium (tests/web/) need.
# Installs only what is missing.
set -euo pipefail

packages=(cmake g++ make libsdl-image1.2-dev libsdl-mixer1.2-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev)
if [ "${1:-}" = "--package" ] || [ "${1:-}" = "--test" ]; then
    packages+=(dpkg-dev file)
fi
if [ "${1:-}" = "--test" ] || [ "${1:-}" = "--shots" ]; then
    packages+=(googletest libgtest-dev libx11-dev libxdamage-dev libxtst-dev xvfb xauth xdotool)
fi
if [ "${1:-}" = "--test" ]; then
    packages+=(desktop-file-utils appstream clang clang-tidy libclang-rt-14-dev lintian)
    # The clock set back under the game (tests/endings_test.cpp).
    packages+=(faketime)
    # What either SDL 1.2 library needs to run, as the tests run with both (tools/other-sdl.sh).
    packages+=(libsdl2-2.0-0 libasound2 libcaca0 libpulse0 libx11-6 libxext6)
fi
if [ "${1:-}" = "--shots" ]; then
    packages+=(imagemagick)
fi
if [ "${1:-}" = "--windows" ]; then
    # The cross compiler, Wine, NSIS and zip; dpkg-dev unpacks the libraries' Debian sources,
    # googletest's sources build the tests; the rest plays the game under Wine and looks at its
    # window (python3-pil and python3-numpy for Debian's own /usr/bin/python3).
    packages=(cmake make dpkg-dev g++-mingw-w64-x86-64-posix wine wine64 nsis zip unzip googletest
              xvfb xauth x11-utils xdotool imagemagick libgl1-mesa-dri python3-pil python3-numpy)
fi

if [ "${1:-}" = "--web" ]; then
    # Emscripten with its SDL, OpenGL emulation and built system libraries; the zip; Chromium,
    # its driver and Selenium for Debian's own /usr/bin/python3, and Pillow to read pictures.
    packages=(cmake make emscripten zip chromium chromium-driver python3-selenium python3-pil)
fi

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'
}

# Either implementation of the SDL 1.2 API will do. They conflict with each other,
# so one that is already there is never replaced.
if [ "${1:-}" != "--web" ] && ! installed libsdl1.2-dev && ! installed libsdl1.2-compat-dev; then
    packages+=(libsdl1.2-dev)
fi

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "error: these Debian packages are missing and installing them needs root (or sudo): ${missing[*]}" >&2
    exit 1
fi
if ! "${sudo[@]}" apt-get update -q; then
    echo "error: apt-get update failed; cannot install: ${missing[*]}" >&2
    exit 1
fi
if ! DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"; then
    echo "error: apt-get could not install: ${missing[*]}" >&2
    exit 1
fi
