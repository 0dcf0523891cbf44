# The Debian package, built by `cpack -G DEB` in a configured build folder
# (scripts/package.sh does it all). It holds every file `cmake --install`
# lays out, under /usr; dpkg-shlibdeps works out the library dependencies.

set(CPACK_PACKAGE_NAME quillan)
set(CPACK_PACKAGE_VENDOR "Velquor Systems")
set(CPACK_PACKAGE_CONTACT "Velquor Systems <quillan@velquor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "broken local link checker for web sites kept on disk")
set(CPACK_PACKAGE_DESCRIPTION
"Quillan lists the pages of a web site kept on disk, reads each one, takes out
the links it makes with href and src, and reports every local link whose
target file is missing, grouped by page and by missing file.

Top subfolders, file paths and links can be excluded from a scan, and PHP
pages checked as well as HTML pages; settings are kept in settings files.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the window system's plugin at run time, so no library dependency
# names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")

# The licence and the history, where Debian keeps them for every package:
# share/doc/quillan/copyright, and the changelog compressed (a native
# package's name for it, as the version has no Debian revision).
include(GNUInstallDirs)
set(QUILLAN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quillan)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright DESTINATION ${QUILLAN_DOC_DIR})
if (QUILLAN_GZIP)
    set(QUILLAN_CHANGELOG ${PROJECT_BINARY_DIR}/doc-packed/changelog)
    add_custom_command(OUTPUT ${QUILLAN_CHANGELOG}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/resources/debian/changelog
                ${QUILLAN_CHANGELOG}
        COMMAND ${QUILLAN_GZIP} -9nf ${QUILLAN_CHANGELOG}
        DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog
        VERBATIM)
    add_custom_target(package_changelog ALL DEPENDS ${QUILLAN_CHANGELOG}.gz)
    install(FILES ${QUILLAN_CHANGELOG}.gz DESTINATION ${QUILLAN_DOC_DIR})
endif()
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

include(CPack)
