# Windows packaging, included by the top-level CMakeLists.txt on WIN32 only:
#  - the icon, version information and manifest of varnok.exe
#    (resources/windows/varnok.rc.in).

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
