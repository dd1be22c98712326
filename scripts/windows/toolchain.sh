#!/usr/bin/env bash
# Builds the Windows x86-64 cross toolchain Varnok's Windows build uses:
# Qt 6 (qtbase), libxml2 and libxlsxwriter cross-compiled with Debian's
# mingw-w64 (POSIX threads) from Debian's own source packages, so the Windows
# program is made of the same versions as the Linux one.
#
#   scripts/windows/toolchain.sh [--libraries-only]
#
# Everything lands in ${VARNOK_WIN64_CACHE:-$HOME/.cache/varnok-win64}:
#   toolchain-mingw64.cmake  the CMake toolchain file for the cross compilers
#   qt6/                     Qt, installed (qt6/lib/cmake/Qt6/qt.toolchain.cmake)
#   libxml2/                 libxml2, installed
#   libxlsxwriter/           libxlsxwriter (the desk's Excel workbooks), installed
#   env.sh                   variables and the cmake line for a program
#   logs/                    one log per step, and the build times
# The machine's own apt state is left alone: the source packages are fetched
# through a sources list, package lists and archive cache kept in that folder.
#
# Running it again does nothing while the stamps still match: "stamp" (a hash
# of the steps that build Qt and libxml2, their patches, the compiler and the
# source package versions) and "stamp-libxlsxwriter" (the same for
# libxlsxwriter, which takes a minute). --libraries-only never builds Qt or
# libxml2: with them missing it stops; it builds libxlsxwriter when its stamp
# does not match (scripts/windows/test.sh uses it).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cache="${VARNOK_WIN64_CACHE:-$HOME/.cache/varnok-win64}"
jobs="${VARNOK_WIN64_JOBS:-2}"
triplet=x86_64-w64-mingw32
sysroot=/usr/$triplet
qt_upstream=6.4.2
libxml2_upstream=2.9.14
libxlsxwriter_upstream=1.1.4

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

say() { printf '[toolchain] %s\n' "$*"; }
die() { printf '[toolchain] error: %s\n' "$*" >&2; exit 1; }

# Runs a step with its output going to logs/<name>.log; on failure, shows the
# end of the log.
run_logged() {
    local name="$1"; shift
    local log="$cache/logs/$name.log"
    say "$name (log: $log)"
    if ! "$@" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        die "$name failed, see $log"
    fi
}

# --- packages --------------------------------------------------------------
packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    binutils-mingw-w64-x86-64 mingw-w64-tools libz-mingw-w64-dev
    wine wine64 nsis
    dpkg-dev autoconf automake libtool pkg-config make patch rsync
    ninja-build cmake perl
    qt6-base-dev qt6-base-dev-tools
)
install_packages() {
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        say "installing: ${missing[*]}"
        $SUDO apt-get -o DPkg::Lock::Timeout=900 update
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=900 \
            install -y --no-install-recommends "${missing[@]}"
    fi
}

# --- a private apt for the source packages ----------------------------------
# Turns the machine's deb822 sources (or one-line sources.list) into deb-src
# lines, one per suite.
write_sources_list() {
    local out="$1" f
    : >"$out"
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -e "$f" ] || continue
        awk '
            function flush() {
                if (types ~ /(^| )deb( |$)/ && uris != "" && suites != "") {
                    opt = signed != "" ? "[signed-by=" signed "] " : ""
                    n = split(uris, u, " "); m = split(suites, s, " ")
                    for (i = 1; i <= n; i++)
                        for (j = 1; j <= m; j++)
                            print "deb-src " opt u[i] " " s[j] " " comps
                }
                types = uris = suites = comps = signed = ""
            }
            /^[ \t]*#/ { next }
            /^[ \t]*$/ { flush(); next }
            {
                key = $1; sub(/:$/, "", key); $1 = ""; sub(/^ +/, "")
                if (key == "Types") types = $0
                else if (key == "URIs") uris = $0
                else if (key == "Suites") suites = $0
                else if (key == "Components") comps = $0
                else if (key == "Signed-By") signed = $0
            }
            END { flush() }
        ' "$f" >>"$out"
    done
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^[[:space:]]*deb[[:space:]]\+/deb-src /p' /etc/apt/sources.list >>"$out"
    fi
    [ -s "$out" ] || die "found no Debian archive in /etc/apt to take deb-src lines from"
}

apt_private=()
setup_private_apt() {
    mkdir -p "$cache/apt-lists/partial" "$cache/apt-cache/archives/partial"
    write_sources_list "$cache/sources.list"
    apt_private=(
        -o "Dir::Etc::sourcelist=$cache/sources.list"
        -o "Dir::Etc::sourceparts=-"
        -o "Dir::State::Lists=$cache/apt-lists"
        -o "Dir::Cache=$cache/apt-cache"
        -o "APT::Sandbox::User=root"
    )
    if ! apt-get "${apt_private[@]}" update >"$cache/logs/apt-update.log" 2>&1; then
        if ls "$cache"/apt-lists/*Sources* >/dev/null 2>&1; then
            say "apt-get update failed; going on with the source lists fetched before"
        else
            tail -n 20 "$cache/logs/apt-update.log" >&2
            die "could not fetch the Debian source lists"
        fi
    fi
}

# The newest version of a source package the private lists know of.
source_version() {
    apt-cache "${apt_private[@]}" showsrc "$1" 2>/dev/null \
        | awk '/^Version:/ { print $2 }' | sort -V | tail -n 1
}
upstream_of() { local v="${1#*:}"; v="${v%-*}"; echo "${v%+dfsg*}"; }

# Downloads a source package and lays it out in src/<dir>, Debian's patches
# and then ours applied. The tree is synced by content, so files that did not
# change keep their times and a rebuild only recompiles what did change.
unpack_source() {
    local pkg="$1" version="$2" dir="$3" patch_prefix="$4"
    local dl="$cache/src/download" fresh="$cache/src/$dir.unpack"
    mkdir -p "$dl"
    (cd "$dl" && apt-get "${apt_private[@]}" source --download-only "$pkg=$version") \
        >"$cache/logs/$dir-download.log" 2>&1 \
        || { tail -n 20 "$cache/logs/$dir-download.log" >&2; die "could not download $pkg $version"; }
    rm -rf "$fresh"
    # apt has already checked the files against the signed Sources lists.
    run_logged "$dir-unpack" dpkg-source --no-check -x "$dl/${pkg}_${version#*:}.dsc" "$fresh"
    local p
    for p in "$here"/patches/"$patch_prefix"-*.patch; do
        [ -e "$p" ] || continue
        say "applying $(basename "$p")"
        patch -d "$fresh" -p1 --forward --batch <"$p" >>"$cache/logs/$dir-unpack.log" 2>&1 \
            || die "$(basename "$p") does not apply, see $cache/logs/$dir-unpack.log"
    done
    mkdir -p "$cache/src/$dir"
    rsync -rlc --delete "$fresh/" "$cache/src/$dir/"
    rm -rf "$fresh"
}

# --- the CMake toolchain file -------------------------------------------------
write_cmake_toolchain() {
    cat >"$cache/toolchain-mingw64.cmake.new" <<EOF
# Written by Varnok's scripts/windows/toolchain.sh: Debian's mingw-w64 with the
# POSIX thread model (Qt needs std::thread and friends).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER   $triplet-gcc-posix)
set(CMAKE_CXX_COMPILER $triplet-g++-posix)
set(CMAKE_RC_COMPILER  $triplet-windres)

# The mingw sysroot (zlib from libz-mingw-w64-dev lives there), then what
# this script built.
list(APPEND CMAKE_FIND_ROOT_PATH $sysroot "$cache/libxml2" "$cache/libxlsxwriter" "$cache/qt6")
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must describe Windows libraries, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "$cache/libxml2/lib/pkgconfig:$cache/libxlsxwriter/lib/pkgconfig:$sysroot/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
EOF
    mv "$cache/toolchain-mingw64.cmake.new" "$cache/toolchain-mingw64.cmake"
}

# --- libxml2 ---------------------------------------------------------------
build_libxml2() {
    local src="$cache/src/libxml2" prefix="$cache/libxml2"
    # Debian's patches change Makefile.am, so the build system is made anew.
    (cd "$src" && run_logged libxml2-autoreconf autoreconf -fi)
    rm -rf "$cache/build/libxml2"
    mkdir -p "$cache/build/libxml2"
    cd "$cache/build/libxml2"
    run_logged libxml2-configure "$src/configure" \
        --host=$triplet --prefix="$prefix" \
        CC=$triplet-gcc-posix AR=$triplet-ar RANLIB=$triplet-ranlib \
        --without-python --without-iconv --without-icu --without-lzma \
        --with-zlib=$sysroot
    run_logged libxml2-build nice -n 19 make -j"$jobs"
    rm -rf "$prefix"
    run_logged libxml2-install make install
    cd "$cache"
    [ -f "$prefix/include/libxml2/libxml/parser.h" ] || die "libxml2 headers were not installed"
    ls "$prefix"/bin/libxml2-*.dll >/dev/null 2>&1 || die "libxml2's DLL was not installed"
}

# --- libxlsxwriter -------------------------------------------------------------
# Its own zip writer (minizip) and MD5, zlib from the sysroot. Temporary files
# go where the program tells it (the user's temporary folder), not tmpfile()
# in the root of C:, which a user may not write to.
build_libxlsxwriter() {
    local src="$cache/src/libxlsxwriter" build="$cache/build/libxlsxwriter" prefix="$cache/libxlsxwriter"
    rm -rf "$build"
    mkdir -p "$build"
    cd "$build"
    run_logged libxlsxwriter-configure cmake "$src" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$cache/toolchain-mingw64.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_SHARED_LIBS=ON \
        -DUSE_SYSTEM_MINIZIP=OFF \
        -DUSE_STANDARD_TMPFILE=OFF \
        -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF
    run_logged libxlsxwriter-build nice -n 19 cmake --build . -j "$jobs"
    rm -rf "$prefix"
    run_logged libxlsxwriter-install cmake --install .
    cd "$cache"
    [ -f "$prefix/include/xlsxwriter.h" ] || die "libxlsxwriter's headers were not installed"
    [ -f "$prefix/lib/pkgconfig/xlsxwriter.pc" ] || die "libxlsxwriter's pkg-config file was not installed"
    ls "$prefix"/bin/libxlsxwriter*.dll >/dev/null 2>&1 || die "libxlsxwriter's DLL was not installed"
}

# Built after Qt and libxml2, with a stamp of its own: a change here never
# builds Qt again.
libxlsxwriter_stamp_inputs() {
    declare -f build_libxlsxwriter
    (cd "$here" && find patches -type f -name 'libxlsxwriter-*.patch' -print0 2>/dev/null | sort -z | xargs -0r sha256sum)
    $triplet-g++-posix --version | head -n 1
    echo "libxlsxwriter $libxlsxwriter_version"
}
libraries() {
    libxlsxwriter_version="$(source_version libxlsxwriter)"
    [ "$(upstream_of "$libxlsxwriter_version")" = "$libxlsxwriter_upstream" ] \
        || die "the libxlsxwriter source package is ${libxlsxwriter_version:-missing}, not $libxlsxwriter_upstream"
    local stamp
    stamp="$(libxlsxwriter_stamp_inputs | sha256sum | cut -d' ' -f1)"
    if [ -f "$cache/stamp-libxlsxwriter" ] && [ "$(cat "$cache/stamp-libxlsxwriter")" = "$stamp" ] \
        && [ -f "$cache/libxlsxwriter/lib/pkgconfig/xlsxwriter.pc" ]; then
        say "libxlsxwriter $libxlsxwriter_version in $cache is up to date"
        return
    fi
    rm -f "$cache/stamp-libxlsxwriter"
    local t0
    t0=$(date +%s)
    unpack_source libxlsxwriter "$libxlsxwriter_version" libxlsxwriter libxlsxwriter
    build_libxlsxwriter
    echo "$(date -Is) libxlsxwriter $libxlsxwriter_version: $(($(date +%s) - t0)) s" | tee -a "$cache/logs/timings.txt"
    echo "$stamp" >"$cache/stamp-libxlsxwriter"
}

# --- qtbase ----------------------------------------------------------------
qt_options=(
    -G Ninja
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    # What Varnok does not use.
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_androiddeployqt=OFF
    # No OpenGL at all: this is what 'configure -no-opengl' says, and it also
    # turns off the dynamic OpenGL loader, which a bare FEATURE_opengl=OFF
    # leaves on (and the windows plugin then does not compile).
    -DINPUT_opengl=no
    -DFEATURE_opengl=OFF
    # Direct2D stays on: the DirectWrite font engine the windows plugin and
    # print support link against is only built with it. The Direct2D platform
    # plugin itself is not needed.
    -DFEATURE_direct2d1_1=OFF
    # Debian leaves out the Wintab headers.
    -DFEATURE_tabletevent=OFF
    # The bundled zlib, freetype, libpng, libjpeg and harfbuzz; FreeType is
    # what the offscreen platform plugin draws text with.
    -DFEATURE_system_zlib=OFF
    -DFEATURE_freetype=ON
)
build_qtbase() {
    local src="$cache/src/qtbase" build="$cache/build/qtbase" prefix="$cache/qt6"
    mkdir -p "$build"
    cd "$build"
    run_logged qtbase-configure cmake "$src" \
        -DCMAKE_TOOLCHAIN_FILE="$cache/toolchain-mingw64.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        "${qt_options[@]}"
    run_logged qtbase-build nice -n 19 cmake --build . -j "$jobs"
    rm -rf "$prefix"
    run_logged qtbase-install cmake --install .
    cd "$cache"
    local f
    for f in bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll bin/Qt6PrintSupport.dll bin/Qt6Test.dll \
             plugins/platforms/qwindows.dll plugins/platforms/qoffscreen.dll \
             plugins/styles/qwindowsvistastyle.dll plugins/imageformats/qjpeg.dll \
             lib/cmake/Qt6/qt.toolchain.cmake; do
        [ -e "$prefix/$f" ] || die "Qt was installed without $f"
    done
    grep -q "toolchain-mingw64.cmake" "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
        || die "qt.toolchain.cmake does not chain-load $cache/toolchain-mingw64.cmake"
}

# --- what a program needs ----------------------------------------------------
runtime_dirs() {
    local gcc_dir
    gcc_dir="$(dirname "$($triplet-g++-posix -print-file-name=libstdc++-6.dll)")"
    printf '%s\n' "$cache/qt6/bin" "$cache/libxml2/bin" "$cache/libxlsxwriter/bin" "$gcc_dir" "$sysroot/lib"
}
write_env() {
    local dirs winepath="" d
    dirs="$(runtime_dirs)"
    while IFS= read -r d; do
        winepath+="${winepath:+;}Z:${d//\//\\}"
    done <<<"$dirs"
    cat >"$cache/env.sh" <<EOF
# Source this to build and run Varnok for Windows with the cross toolchain.
export VARNOK_WIN64_CACHE="$cache"
export VARNOK_WIN64_QT="$cache/qt6"
export VARNOK_WIN64_LIBXML2="$cache/libxml2"
export VARNOK_WIN64_LIBXLSXWRITER="$cache/libxlsxwriter"
# The folders holding the DLLs a program needs: Qt, libxml2, libxlsxwriter
# (and zlib1.dll in the mingw sysroot), and the POSIX-thread mingw runtime.
export VARNOK_WIN64_DLL_DIRS="$(echo "$dirs" | paste -sd:)"
export VARNOK_WIN64_PLUGINS="$cache/qt6/plugins"
# Wine finds those DLLs through WINEPATH, and Qt then finds its plugins from
# where Qt6Core.dll is. A program copied elsewhere takes the DLLs along and
# the plugins in platforms/, styles/ and imageformats/ beside it.
# Wine does not hand QT_* variables on to the program: pass -platform offscreen
# on the command line, or set them inside Wine (wine cmd /c "set A=b&& x.exe").
export WINEPATH='$winepath'
# cmake -S <source> -B <build> "\${VARNOK_WIN64_CMAKE_ARGS[@]}"
VARNOK_WIN64_CMAKE_ARGS=(
    -G Ninja
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_TOOLCHAIN_FILE="$cache/qt6/lib/cmake/Qt6/qt.toolchain.cmake"
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
)
EOF
}

# What Qt and libxml2 are built from: the steps that build them, their
# options and patches, the compiler and the source versions. The rest of this
# script (the environment file, libraries added later with stamps of their
# own) can change without building Qt again.
stamp_inputs() {
    declare -f unpack_source build_libxml2 build_qtbase
    declare -p qt_options
    (
        cd "$here"
        if [ -d patches ]; then
            find patches -type f \( -name 'qtbase-*.patch' -o -name 'libxml2-*.patch' \) -print0 \
                | sort -z | xargs -0r sha256sum
        fi
    )
    $triplet-g++-posix --version | head -n 1
    echo "qt6-base $qt_version"
    echo "libxml2 $libxml2_version"
}

main() {
    local only_libraries=0
    case "${1:-}" in
        --libraries-only) only_libraries=1 ;;
        "") ;;
        *) die "unknown argument $1 (scripts/windows/toolchain.sh [--libraries-only])" ;;
    esac
    mkdir -p "$cache/logs" "$cache/src" "$cache/build"
    install_packages
    setup_private_apt

    if [ "$only_libraries" = 1 ]; then
        [ -f "$cache/qt6/lib/cmake/Qt6/qt.toolchain.cmake" ] && [ -d "$cache/libxml2/include" ] \
            || die "Qt and libxml2 are not built in $cache: scripts/windows/toolchain.sh builds them (an hour)"
        write_cmake_toolchain
        libraries
        write_env
        return
    fi

    # Qt for Windows must be the same version as the host's Qt, whose moc, rcc
    # and uic it is built and used with.
    local host_qt
    host_qt="$(dpkg-query -W -f='${source:Version}' qt6-base-dev)"
    qt_version="$host_qt"
    [ "$(upstream_of "$host_qt")" = "$qt_upstream" ] \
        || die "the host's Qt is $host_qt, not $qt_upstream"
    apt-cache "${apt_private[@]}" showsrc qt6-base | grep -qx "Version: $qt_version" \
        || die "the source package qt6-base $qt_version (the host Qt's) is not in the archive"
    libxml2_version="$(source_version libxml2)"
    [ "$(upstream_of "$libxml2_version")" = "$libxml2_upstream" ] \
        || die "the libxml2 source package is ${libxml2_version:-missing}, not $libxml2_upstream"

    local stamp
    stamp="$(stamp_inputs | sha256sum | cut -d' ' -f1)"
    if [ -f "$cache/stamp" ] && [ "$(cat "$cache/stamp")" = "$stamp" ] \
        && [ -f "$cache/qt6/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
        say "Qt and libxml2 in $cache are up to date (qt6-base $qt_version, libxml2 $libxml2_version)"
        write_cmake_toolchain
        libraries
        write_env
        return
    fi
    rm -f "$cache/stamp"

    local t0 t1 t2 t3
    t0=$(date +%s)
    say "qt6-base $qt_version, libxml2 $libxml2_version into $cache"
    unpack_source libxml2 "$libxml2_version" libxml2 libxml2
    unpack_source qt6-base "$qt_version" qtbase qtbase
    write_cmake_toolchain
    t1=$(date +%s)
    build_libxml2
    t2=$(date +%s)
    build_qtbase
    t3=$(date +%s)
    {
        echo "$(date -Is) qt6-base $qt_version libxml2 $libxml2_version"
        echo "  sources $((t1 - t0)) s, libxml2 $((t2 - t1)) s, qtbase $((t3 - t2)) s, all $((t3 - t0)) s"
    } | tee -a "$cache/logs/timings.txt"
    echo "$stamp" >"$cache/stamp"
    libraries
    write_env

    say "done. Qt: $(du -sh "$cache/qt6" | cut -f1), libxml2: $(du -sh "$cache/libxml2" | cut -f1)"
    say "configure a program with:"
    echo "  cmake -S <source> -B <build> -G Ninja -DCMAKE_BUILD_TYPE=Release \\"
    echo "    -DCMAKE_TOOLCHAIN_FILE=$cache/qt6/lib/cmake/Qt6/qt.toolchain.cmake \\"
    echo "    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake"
    say "or: source $cache/env.sh and use \"\${VARNOK_WIN64_CMAKE_ARGS[@]}\""
}

main "$@"
