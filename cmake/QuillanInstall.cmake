# Where `cmake --install` puts Quillan under its prefix (GNUInstallDirs):
#
#   bin/quillan                                   the program
#   share/quillan/                                program text and help
#
# Test programs and the benchmark have no install rule.

# The shared data folder, and the way to it from the program's folder that
# the program takes when nothing lies beside it.
set(QUILLAN_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/quillan)
file(RELATIVE_PATH QUILLAN_DATA_FROM_BINARIES
     /${CMAKE_INSTALL_BINDIR} /${QUILLAN_INSTALL_DATADIR})

install(FILES ${QUILLAN_RESOURCE_FILES} DESTINATION ${QUILLAN_INSTALL_DATADIR})
