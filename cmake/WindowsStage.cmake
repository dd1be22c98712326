# Finishes the Windows deployment folder that the install rules have laid
# out (cmake/WindowsPackaging.cmake), in script mode:
#
#   cmake -DSTAGE=<folder> -DSTRIP=<strip> -DOBJDUMP=<objdump>
#         -DDLL_DIRS=<dir;dir...> -DNSIS_FILES=<file.nsh> -P WindowsStage.cmake
#
# 1. Strips varnok.exe and every DLL of their symbols: the runtime and Qt
#    come with debugging information that would triple the package.
# 2. Checks every import of every program and DLL there: a DLL that the
#    toolchain has (one of DLL_DIRS) must be in the folder too, or the
#    program would not start on a machine without the toolchain. Whatever
#    none of DLL_DIRS holds is Windows' own (KERNEL32.dll, d3d11.dll, ...).
# 3. Writes the NSIS lists of what the installer puts in place and what its
#    uninstaller removes, from the same files, so the two always agree.

cmake_minimum_required(VERSION 3.20)

foreach(var STAGE STRIP OBJDUMP DLL_DIRS NSIS_FILES)
    if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
        message(FATAL_ERROR "WindowsStage.cmake: ${var} is not set")
    endif()
endforeach()
if(NOT EXISTS "${STAGE}/varnok.exe")
    message(FATAL_ERROR "WindowsStage.cmake: ${STAGE}/varnok.exe is missing")
endif()

# The program's folder first, then the plugin folders.
file(GLOB files LIST_DIRECTORIES false RELATIVE "${STAGE}" "${STAGE}/*")
file(GLOB_RECURSE nested LIST_DIRECTORIES false RELATIVE "${STAGE}" "${STAGE}/*/*")
list(SORT files)
list(SORT nested)
list(APPEND files ${nested})

# --- 1. strip -----------------------------------------------------------------
set(binaries)
foreach(f IN LISTS files)
    if(f MATCHES "\\.(exe|dll)$")
        list(APPEND binaries "${f}")
        execute_process(COMMAND "${STRIP}" --strip-unneeded "${STAGE}/${f}" RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
            message(FATAL_ERROR "${STRIP} failed on ${f}")
        endif()
    endif()
endforeach()

# --- 2. imports ----------------------------------------------------------------
# Windows loads a plugin's DLLs from the program's folder too, so the
# top-level DLLs are what every file can use.
set(beside)
foreach(f IN LISTS files)
    if(f MATCHES "^[^/]+\\.dll$")
        string(TOLOWER "${f}" f)
        list(APPEND beside "${f}")
    endif()
endforeach()
set(toolchain_dlls)
foreach(dir IN LISTS DLL_DIRS)
    file(GLOB found LIST_DIRECTORIES false RELATIVE "${dir}" "${dir}/*.dll" "${dir}/*.DLL")
    foreach(name IN LISTS found)
        string(TOLOWER "${name}" name)
        list(APPEND toolchain_dlls "${name}")
    endforeach()
endforeach()
set(problems)
foreach(f IN LISTS binaries)
    execute_process(COMMAND "${OBJDUMP}" -p "${STAGE}/${f}"
        OUTPUT_VARIABLE dump RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${OBJDUMP} cannot read ${f}: ${err}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    foreach(line IN LISTS imports)
        string(REGEX REPLACE "^DLL Name: " "" name "${line}")
        string(STRIP "${name}" name)
        string(TOLOWER "${name}" lower)
        if(NOT lower IN_LIST beside AND lower IN_LIST toolchain_dlls)
            list(APPEND problems "${f} needs ${name}")
        endif()
    endforeach()
endforeach()
if(problems)
    list(JOIN problems "\n  " problems)
    message(FATAL_ERROR "The Windows package lacks DLLs that its files import:\n  ${problems}\n"
        "Add them to VARNOK_WINDOWS_RUNTIME in cmake/WindowsPackaging.cmake.")
endif()

# --- 3. the NSIS file lists -------------------------------------------------------
function(nsis_quote out text)
    string(REPLACE "$" "$$" text "${text}")
    string(REPLACE "/" "\\" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(install "!macro VARNOK_INSTALL_FILES\n")
set(remove "!macro VARNOK_REMOVE_FILES\n")
set(folders)
set(current "")
set(bytes 0)
foreach(f IN LISTS files)
    get_filename_component(folder "${f}" DIRECTORY)
    if(NOT folder STREQUAL current OR bytes EQUAL 0)
        set(current "${folder}")
        if(folder STREQUAL "")
            set(install "${install}    SetOutPath \"$INSTDIR\"\n")
        else()
            nsis_quote(win "${folder}")
            set(install "${install}    SetOutPath \"$INSTDIR\\${win}\"\n")
            list(APPEND folders "${folder}")
        endif()
    endif()
    string(REPLACE "$" "$$" source "${STAGE}/${f}")
    nsis_quote(win "${f}")
    set(install "${install}    File \"${source}\"\n")
    set(remove "${remove}    Delete \"$INSTDIR\\${win}\"\n")
    file(SIZE "${STAGE}/${f}" size)
    math(EXPR bytes "${bytes} + ${size}")
endforeach()
# Every folder and the ones above it, deepest first; RMDir without /r leaves
# a folder that still holds anything the user put there.
set(parents)
foreach(folder IN LISTS folders)
    get_filename_component(up "${folder}" DIRECTORY)
    while(NOT up STREQUAL "")
        list(APPEND parents "${up}")
        get_filename_component(up "${up}" DIRECTORY)
    endwhile()
endforeach()
list(APPEND folders ${parents})
list(REMOVE_DUPLICATES folders)
list(SORT folders)
list(REVERSE folders)
foreach(folder IN LISTS folders)
    nsis_quote(win "${folder}")
    set(remove "${remove}    RMDir \"$INSTDIR\\${win}\"\n")
endforeach()
math(EXPR kb "(${bytes} + 1023) / 1024")

file(WRITE "${NSIS_FILES}.new"
    "; Written by cmake/WindowsStage.cmake from ${STAGE}: what the installer\n"
    "; puts in place, and what the uninstaller removes.\n"
    "!define VARNOK_INSTALLED_KB ${kb}\n"
    "${install}!macroend\n"
    "${remove}!macroend\n")
file(RENAME "${NSIS_FILES}.new" "${NSIS_FILES}")
list(LENGTH files count)
message(STATUS "Windows package: ${count} files, ${kb} KB, every import found")
