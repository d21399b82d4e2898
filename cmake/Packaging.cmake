# `cpack -G DEB` in the build folder builds a Debian package of what `cmake --install`
# puts in place. The libraries it needs are found by dpkg-shlibdeps (dpkg-dev); what
# the programs load without linking is named here: Qt's platform plugins, and the
# fonts the window is drawn in.
set(CPACK_PACKAGE_NAME zd7240-helper)
set(CPACK_PACKAGE_VENDOR "Velmar Zd7240 Helper developers")
set(CPACK_PACKAGE_CONTACT "Velmar Zd7240 Helper developers <zd7240-helper@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "writes pvc command scripts for the Zd7240 access multiplexer")
set(CPACK_PACKAGE_DESCRIPTION
    "A window and command-line tools that turn board, slot, port, VPI/VCI and VLAN numbers
into scripts of pvc commands for the Zd7240, with job files and range checks across jobs.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The completion of zd7240-gen is installed for bash-completion to load; without it,
# `complete -p zd7240-gen` finds nothing.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")
if(ZD7240_BUILD_GUI)
    # The xcb platform plugin is loaded at run time, not linked; DejaVu Sans stands in
    # for the window fonts when fonts-wine is missing. qt6-wayland lets the window run
    # natively in a Wayland session instead of through XWayland.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, bash-completion")
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
endif()
include(CPack)
