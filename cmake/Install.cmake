# make install: the executable in <prefix>/bin (the package's in /usr/games) and its music (architecture-independent)
# in <prefix>/share/tintorix.
# Both places are fixed, not taken from GNUInstallDirs: the game finds its music at ../share/tintorix from its own
# directory.
if(TARGET tintorix)
    include(GNUInstallDirs)
    install(CODE "if(NOT TINTORIX_BINDIR)\n    set(TINTORIX_BINDIR bin)\nendif()")
    install(TARGETS tintorix RUNTIME DESTINATION "\${TINTORIX_BINDIR}")
    install(FILES ${MUSIC_FILES} DESTINATION share/tintorix)
    install(FILES ${CMAKE_SOURCE_DIR}/dist/tintorix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/dist/com.kovragames.tintorix.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach(size 16 32 48 64 128 256)
        install(FILES ${CMAKE_SOURCE_DIR}/dist/icons/tintorix-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tintorix.png)
    endforeach()
    # The manual and the changelog compressed as Debian wants them: at most, and without a time stamp.
    foreach(doc tintorix.6 changelog)
        add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/dist/${doc}.gz
                           COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
                           COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/dist/${doc} > ${CMAKE_BINARY_DIR}/dist/${doc}.gz
                           DEPENDS ${CMAKE_SOURCE_DIR}/dist/${doc})
    endforeach()
    add_custom_target(tintorix-docs ALL DEPENDS ${CMAKE_BINARY_DIR}/dist/tintorix.6.gz
                                               ${CMAKE_BINARY_DIR}/dist/changelog.gz)
    install(FILES ${CMAKE_BINARY_DIR}/dist/tintorix.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
    install(FILES ${CMAKE_BINARY_DIR}/dist/changelog.gz ${CMAKE_SOURCE_DIR}/dist/copyright
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tintorix)
    include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
endif()
