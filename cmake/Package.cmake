# make deb: a Debian package of what make install puts in place, under /usr, made by CPack from the build.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tintorix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kovra Games <tintorix@kovragames.example>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://kovragames.example/tintorix/)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "four-player arcade painting game
Each player steers a painter that walks on its own and only turns left or
right; its brush paints the ground in the player's colour, and whoever painted
a pixel last owns it. Items freeze or drain the opponents, speed the taker up,
widen its brush or blast blots of its colour over the field.

Battle matches, single or in teams, for up to four people on one keyboard or
game controllers, with computer players in any seat, and a one-player ranking
mode with a ten-entry high-score table.")
# Debian keeps games in /usr/games; make install keeps <prefix>/bin. The music is found from either. Naming
# the one component every file belongs to keeps the build's install_manifest.txt, which make uninstall
# reads, that of the user's own install.
set(CPACK_CUSTOM_INSTALL_VARIABLES "TINTORIX_BINDIR=games;CMAKE_INSTALL_COMPONENT=Unspecified")
# The libraries from the executable's own links; the music needs a General MIDI soundfont.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fluid-soundfont-gm | timgm6mb-soundfont")
set(CPACK_STRIP_FILES ON)
# Whatever the umask of the build, directories as Debian has them.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                               WORLD_READ WORLD_EXECUTE)
include(CPack)
