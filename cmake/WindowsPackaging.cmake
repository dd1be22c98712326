# Windows packaging, included by the top-level CMakeLists.txt on WIN32 only:
#  - the icon, version information and manifest of varnok.exe
#    (resources/windows/varnok.rc.in);
#  - the deployment folder: varnok.exe and varnok-check.exe with every DLL and
#    Qt plugin they load,
#    from the known list below (this toolchain has no windeployqt);
#  - from that folder, the per-user installer (NSIS) and the portable zip.
#
#   cmake --build build-win --target varnok_windows_package
#
# gives build-win/Varnok-<major.minor>-setup.exe and
# build-win/Varnok-<major.minor>-win64.zip; the folder both are made from is
# build-win/stage. The install rules carry the component "windows", so the
# folder can also be laid anywhere with
#   cmake --install build-win --component windows --prefix <folder>

# --- icon and version information --------------------------------------------
enable_language(RC)
set(VARNOK_RC_ICON ${PROJECT_SOURCE_DIR}/resources/windows/varnok.ico)
set(VARNOK_RC_MANIFEST ${PROJECT_BINARY_DIR}/varnok.manifest)
configure_file(${PROJECT_SOURCE_DIR}/resources/windows/varnok.manifest.in ${VARNOK_RC_MANIFEST} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/windows/varnok.rc.in ${PROJECT_BINARY_DIR}/varnok.rc @ONLY)
target_sources(varnok PRIVATE ${PROJECT_BINARY_DIR}/varnok.rc)
# windres's includes are not tracked: a new icon must still relink.
set_source_files_properties(${PROJECT_BINARY_DIR}/varnok.rc PROPERTIES
    OBJECT_DEPENDS "${VARNOK_RC_ICON};${VARNOK_RC_MANIFEST}")

# --- what the program needs beside it ------------------------------------------
# Where the DLLs come from: Qt's bin/, libxml2's bin/ (found from its import
# library), libxlsxwriter's bin/, the compiler's runtime and the mingw sysroot (zlib,
# winpthreads). These folders are also what the import check below counts as
# "not Windows": a DLL imported from one of them must be in the package.
get_target_property(_varnok_qtcore_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT _varnok_qtcore_dll)
    get_target_property(_varnok_qtcore_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(_varnok_qt_bin "${_varnok_qtcore_dll}" DIRECTORY)
get_filename_component(_varnok_qt_plugins "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}" ABSOLUTE)
list(GET LIBXML2_LIBRARIES 0 _varnok_libxml2_lib)
get_filename_component(_varnok_libxml2_bin "${_varnok_libxml2_lib}/../../bin" ABSOLUTE)
# libxlsxwriter's DLL beside its prefix's lib/ (pkg-config, CMakeLists.txt).
set(_varnok_xlsxwriter_bin "${XLSXWRITER_PREFIX}/bin")
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE _varnok_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(_varnok_gcc_dir "${_varnok_libstdcxx}" DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-sysroot
    OUTPUT_VARIABLE _varnok_sysroot OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT _varnok_sysroot)
    # Debian's mingw-w64 has no sysroot of its own; its libraries are here.
    set(_varnok_sysroot /usr/x86_64-w64-mingw32)
endif()
set(VARNOK_WINDOWS_DLL_DIRS
    "${_varnok_qt_bin}" "${_varnok_libxml2_bin}" "${_varnok_xlsxwriter_bin}" "${_varnok_gcc_dir}"
    "${_varnok_sysroot}/lib" "${_varnok_sysroot}/bin")

# Every file of the package but varnok.exe: "folder in the package=file".
set(VARNOK_WINDOWS_RUNTIME
    ".=Qt6Core.dll" ".=Qt6Gui.dll" ".=Qt6Widgets.dll" ".=Qt6PrintSupport.dll"
    ".=libxml2-2.dll" ".=libxlsxwriter.dll" ".=zlib1.dll"
    ".=libstdc++-6.dll" ".=libgcc_s_seh-1.dll" ".=libwinpthread-1.dll"
    # The Windows platform, the native look, and JPEG for the splash.
    "platforms=platforms/qwindows.dll"
    "styles=styles/qwindowsvistastyle.dll"
    "imageformats=imageformats/qjpeg.dll")

set(_varnok_missing)
foreach(entry IN LISTS VARNOK_WINDOWS_RUNTIME)
    string(REPLACE "=" ";" entry "${entry}")
    list(GET entry 0 folder)
    list(GET entry 1 name)
    string(MAKE_C_IDENTIFIER "VARNOK_DLL_${name}" var)
    if(folder STREQUAL ".")
        find_file(${var} ${name} PATHS ${VARNOK_WINDOWS_DLL_DIRS}
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH DOC "${name}, shipped beside varnok.exe")
    else()
        find_file(${var} ${name} PATHS "${_varnok_qt_plugins}"
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH DOC "Qt plugin ${name}, shipped in ${folder}/")
    endif()
    if(NOT ${var} OR NOT EXISTS "${${var}}")
        list(APPEND _varnok_missing "${name}")
        continue()
    endif()
    install(FILES ${${var}} DESTINATION ${folder} COMPONENT windows)
endforeach()
if(_varnok_missing)
    list(JOIN _varnok_missing ", " _varnok_missing)
    list(JOIN VARNOK_WINDOWS_DLL_DIRS "\n  " _varnok_dirs)
    message(FATAL_ERROR "The Windows package cannot be made: not found: ${_varnok_missing}.\n"
        "DLLs were looked for in\n  ${_varnok_dirs}\nand Qt plugins in\n  ${_varnok_qt_plugins}\n"
        "Build the toolchain with scripts/windows/toolchain.sh, or give a file's place with "
        "-DVARNOK_DLL_<name>=<path> (see the cache).")
endif()
# varnok-check.exe, the desk on the command line, beside the program.
install(TARGETS varnok varnok-check RUNTIME DESTINATION . COMPONENT windows)

# --- the deployment folder -----------------------------------------------------
# Laid anew every time from the install rules, then finished by
# WindowsStage.cmake: every program and DLL stripped of its symbols, every
# DLL import checked, and the NSIS file lists written from what is there.
set(VARNOK_STAGE ${PROJECT_BINARY_DIR}/stage)
set(VARNOK_NSIS_FILES ${PROJECT_BINARY_DIR}/nsis-files.nsh)
set(VARNOK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
find_program(VARNOK_STRIP NAMES ${CMAKE_STRIP} x86_64-w64-mingw32-strip strip)
find_program(VARNOK_OBJDUMP NAMES ${CMAKE_OBJDUMP} x86_64-w64-mingw32-objdump objdump)
add_custom_target(varnok_stage
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${VARNOK_STAGE}
    COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --component windows --prefix ${VARNOK_STAGE}
    COMMAND ${CMAKE_COMMAND} -DSTAGE=${VARNOK_STAGE} -DSTRIP=${VARNOK_STRIP} -DOBJDUMP=${VARNOK_OBJDUMP}
            "-DDLL_DIRS=${VARNOK_WINDOWS_DLL_DIRS}" -DNSIS_FILES=${VARNOK_NSIS_FILES}
            -P ${PROJECT_SOURCE_DIR}/cmake/WindowsStage.cmake
    DEPENDS varnok varnok-check
    BYPRODUCTS ${VARNOK_NSIS_FILES}
    COMMENT "Laying out the Windows package in ${VARNOK_STAGE}"
    VERBATIM)

# --- the portable zip -----------------------------------------------------------
# One folder, Varnok-<version>, to unpack anywhere the user can write to.
set(VARNOK_ZIP ${PROJECT_BINARY_DIR}/Varnok-${VARNOK_PACKAGE_VERSION}-win64.zip)
set(_varnok_zip_root Varnok-${VARNOK_PACKAGE_VERSION})
add_custom_target(varnok_zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${PROJECT_BINARY_DIR}/zip ${VARNOK_ZIP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/zip
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${VARNOK_STAGE} ${PROJECT_BINARY_DIR}/zip/${_varnok_zip_root}
    COMMAND ${CMAKE_COMMAND} -E chdir ${PROJECT_BINARY_DIR}/zip
            ${CMAKE_COMMAND} -E tar cf ${VARNOK_ZIP} --format=zip ${_varnok_zip_root}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${PROJECT_BINARY_DIR}/zip
    DEPENDS varnok_stage
    BYPRODUCTS ${VARNOK_ZIP}
    COMMENT "Making ${VARNOK_ZIP}"
    VERBATIM)

# --- the installer ---------------------------------------------------------------
# makensis runs on the build machine (Debian: nsis).
find_program(VARNOK_MAKENSIS makensis DOC "NSIS compiler, for the Windows installer")
set(VARNOK_INSTALLER ${PROJECT_BINARY_DIR}/Varnok-${VARNOK_PACKAGE_VERSION}-setup.exe)
if(VARNOK_MAKENSIS)
    add_custom_target(varnok_installer
        COMMAND ${CMAKE_COMMAND} -E rm -f ${VARNOK_INSTALLER}
        COMMAND ${VARNOK_MAKENSIS} -V2 -INPUTCHARSET UTF8
                -DVERSION=${PROJECT_VERSION}
                -DFILES=${VARNOK_NSIS_FILES} -DOUTFILE=${VARNOK_INSTALLER}
                ${PROJECT_SOURCE_DIR}/resources/windows/varnok.nsi
        DEPENDS varnok_stage ${PROJECT_SOURCE_DIR}/resources/windows/varnok.nsi
                ${VARNOK_RC_ICON} ${PROJECT_SOURCE_DIR}/resources/windows/installer-welcome.bmp
        BYPRODUCTS ${VARNOK_INSTALLER}
        COMMENT "Making ${VARNOK_INSTALLER}"
        VERBATIM)
else()
    add_custom_target(varnok_installer
        COMMAND ${CMAKE_COMMAND} -E echo "The installer needs makensis: install NSIS (Debian: apt-get install nsis)."
        COMMAND ${CMAKE_COMMAND} -E false
        VERBATIM)
endif()

add_custom_target(varnok_windows_package DEPENDS varnok_installer varnok_zip)
