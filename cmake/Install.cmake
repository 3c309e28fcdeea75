# make install: the executable in <prefix>/bin and its music (architecture-independent) in <prefix>/share/tintorix.
# Both places are fixed, not taken from GNUInstallDirs: the game finds its music at ../share/tintorix from its own
# directory.
if(TARGET tintorix)
    include(GNUInstallDirs)
    install(TARGETS tintorix RUNTIME DESTINATION bin)
    install(FILES ${MUSIC_FILES} DESTINATION share/tintorix)
    install(FILES ${CMAKE_SOURCE_DIR}/dist/tintorix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/dist/com.kovragames.tintorix.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach(size 16 32 48 64 128 256)
        install(FILES ${CMAKE_SOURCE_DIR}/dist/icons/tintorix-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tintorix.png)
    endforeach()
    install(FILES ${CMAKE_SOURCE_DIR}/dist/tintorix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endif()
