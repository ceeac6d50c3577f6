# What `cmake --install` puts where (GNUInstallDirs):
#   bin/ra7editor, bin/ra7                  the programs (they find the mender through their run path)
#   lib/libmeshmender.so                    the tangent-space library the converter opens
#   share/ra7davevi/data/{shaders,arrow}    what `ra7 init` and the editor copy into a new project
#   share/ra7davevi/sample/                 the sample project
#   share/applications/ra7editor.desktop    the desktop menu entry
#   share/icons/hicolor/scalable/apps/ra7editor.svg
set(RA7_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/ra7davevi)

file(RELATIVE_PATH RA7_LIB_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(ra7editor ra7 PROPERTIES INSTALL_RPATH "$ORIGIN/${RA7_LIB_FROM_BINDIR}")
install(TARGETS ra7editor ra7 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS meshmender LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

# The generated data of the build tree; a sample that was opened in place
# leaves its settings and log behind, which are not part of it.
install(DIRECTORY ${PROJECT_BINARY_DIR}/data/shaders ${PROJECT_BINARY_DIR}/data/arrow
        DESTINATION ${RA7_INSTALL_DATA}/data)
install(DIRECTORY ${PROJECT_BINARY_DIR}/sample/ DESTINATION ${RA7_INSTALL_DATA}/sample
        PATTERN config.txt EXCLUDE PATTERN log.txt EXCLUDE PATTERN "*.part*" EXCLUDE)

configure_file(${PROJECT_SOURCE_DIR}/editor/desktop/ra7editor.desktop.in
               ${PROJECT_BINARY_DIR}/desktop/ra7editor.desktop @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/desktop/ra7editor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/editor/desktop/ra7editor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
