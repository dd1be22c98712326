#!/usr/bin/env bash
# Installs what Varnok needs to build, run and test on Debian 12, and to build
# and check its Debian package; enough on a bare system (debootstrap --variant
# minbase) run as root, with sudo otherwise. Given package names, installs
# those instead (what the fuzzers and the Windows build need besides).
#   scripts/install-deps.sh [package...]
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(
    # build
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6svg6
    libxml2-dev libbenchmark-dev time
    # the desk's Excel workbooks; its pkg-config file links zlib, which
    # libxlsxwriter-dev does not bring along
    libxlsxwriter-dev zlib1g-dev
    # Qt's own texts in Chinese, embedded at build time (qtbase_zh_CN.qm)
    qt6-translations-l10n
    # run: the Chinese font; "帮助" and "网上申报" open the help file and the
    # address through xdg-open, which finds the CHM viewer by the file's type
    # (told by file, below, or shared-mime-info)
    fonts-wqy-microhei
    xchm xdg-utils shared-mime-info
    # the package: CPack and dpkg-shlibdeps need file; lintian, the desktop
    # entry and AppStream checks of the package test
    dpkg-dev file desktop-file-utils lintian appstream
    # the other tests
    g++-mingw-w64-x86-64-win32
    xvfb xauth imagemagick
    poppler-utils
    # the screen-reader test: the program's tree read over AT-SPI, as Orca
    # reads it, on a session bus of its own
    python3-pyatspi at-spi2-core dbus-daemon
    # reading the desk's workbook back (an xlsx is a zip)
    unzip
)
if [ $# -gt 0 ]; then packages=("$@"); fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    $SUDO apt-get -o DPkg::Lock::Timeout=900 update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=900 \
        install -y --no-install-recommends "${missing[@]}"
fi
