# Where `cmake --install` puts Quillan under its prefix (GNUInstallDirs):
#
#   bin/quillan                                   the program
#   share/quillan/                                program text and help
#   share/applications/<id>.desktop               menu entry
#   share/icons/hicolor/{scalable,NxN}/apps/<id>.*  icon
#   share/metainfo/<id>.metainfo.xml              software-centre description
#   share/man/man1/quillan.1.gz                   manual page
#
# Test programs and the benchmark have no install rule: an install, and so
# the package, holds the files above and whatever other programs add with
# their own rules (e.g. another program in bin/ and its man page).

# The shared data folder, and the way to it from the program's folder that
# the program takes when nothing lies beside it.
set(QUILLAN_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/quillan)
file(RELATIVE_PATH QUILLAN_DATA_FROM_BINARIES
     /${CMAKE_INSTALL_BINDIR} /${QUILLAN_INSTALL_DATADIR})

# Installs man pages, compressed as Debian wants them (man reads either); the
# section comes from each name's last extension (quillan.1 goes to man1/).
# Every program of the project adds its pages here.
if (UNIX)
    find_program(QUILLAN_GZIP gzip REQUIRED)
endif()
function(quillan_install_man_pages)
    foreach(page IN LISTS ARGN)
        get_filename_component(name ${page} NAME)
        string(REGEX MATCH "[^.]+$" section "${name}")
        set(destination ${CMAKE_INSTALL_MANDIR}/man${section})
        if (NOT QUILLAN_GZIP)
            install(FILES ${page} DESTINATION ${destination})
            continue()
        endif()
        set(packed ${PROJECT_BINARY_DIR}/man-packed/${name})
        add_custom_command(OUTPUT ${packed}.gz
            COMMAND ${CMAKE_COMMAND} -E copy ${page} ${packed}
            COMMAND ${QUILLAN_GZIP} -9nf ${packed}
            DEPENDS ${page}
            VERBATIM)
        add_custom_target(man_${name} ALL DEPENDS ${packed}.gz)
        install(FILES ${packed}.gz DESTINATION ${destination})
    endforeach()
endfunction()

set(QUILLAN_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
configure_file(${QUILLAN_DESKTOP_DIR}/app.desktop.in
               ${PROJECT_BINARY_DIR}/desktop/${QUILLAN_APP_ID}.desktop @ONLY)
configure_file(${QUILLAN_DESKTOP_DIR}/app.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/desktop/${QUILLAN_APP_ID}.metainfo.xml @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/man/quillan.1.in
               ${PROJECT_BINARY_DIR}/man/quillan.1 @ONLY)

install(FILES ${QUILLAN_RESOURCE_FILES} DESTINATION ${QUILLAN_INSTALL_DATADIR})
install(FILES ${PROJECT_BINARY_DIR}/desktop/${QUILLAN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${QUILLAN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
quillan_install_man_pages(${PROJECT_BINARY_DIR}/man/quillan.1)

# The icon: the drawing and its renderings (scripts/render-icons.sh).
set(QUILLAN_ICON_DIR ${PROJECT_SOURCE_DIR}/resources/icons)
set(QUILLAN_ICON_THEME_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${QUILLAN_ICON_DIR}/quillan.svg
        DESTINATION ${QUILLAN_ICON_THEME_DIR}/scalable/apps RENAME ${QUILLAN_APP_ID}.svg)
file(GLOB QUILLAN_ICON_PNGS CONFIGURE_DEPENDS ${QUILLAN_ICON_DIR}/quillan-*.png)
foreach(png IN LISTS QUILLAN_ICON_PNGS)
    string(REGEX MATCH "([0-9]+)\\.png$" _ "${png}")
    install(FILES ${png} DESTINATION ${QUILLAN_ICON_THEME_DIR}/${CMAKE_MATCH_1}x${CMAKE_MATCH_1}/apps
            RENAME ${QUILLAN_APP_ID}.png)
endforeach()
