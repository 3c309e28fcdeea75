# make install: the executable and its music under <prefix>/lib/tintorix, a link in <prefix>/bin.
if(TARGET tintorix)
    include(GNUInstallDirs)
    install(TARGETS tintorix RUNTIME DESTINATION lib/tintorix)
    install(FILES ${MUSIC_FILES} DESTINATION lib/tintorix)
    install(CODE "
        set(bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
        file(MAKE_DIRECTORY \"\${bindir}\")
        file(CREATE_LINK ../lib/tintorix/tintorix \"\${bindir}/tintorix\" SYMBOLIC)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/bin/tintorix\")
    ")
    install(FILES ${CMAKE_SOURCE_DIR}/dist/tintorix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/dist/com.kovragames.Tintorix.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${CMAKE_SOURCE_DIR}/assets/icon/tintorix.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
    foreach(size 128 256)
        install(FILES ${CMAKE_SOURCE_DIR}/dist/icons/tintorix-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tintorix.png)
    endforeach()
    install(FILES ${CMAKE_SOURCE_DIR}/dist/tintorix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endif()
