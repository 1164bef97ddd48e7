# The install tree in the XDG places, and a Debian package of it (cpack -G DEB).
include(GNUInstallDirs)

install(TARGETS taviro-player RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/taviro-player.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/data/taviro-player.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/taviro-player-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME taviro-player.xml)
install(FILES ${PROJECT_SOURCE_DIR}/data/taviro-player.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME taviro-player)
set(CPACK_PACKAGE_VENDOR "Taviro Player")
set(CPACK_PACKAGE_CONTACT "Taviro Player developers <taviro-player@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Player of point-and-click adventure games made with Taviro")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Plays the adventure games made with the Taviro authoring tool on Linux: frames, hotspots,\n"
       "inventory, dialogues, sound, MIDI music, video and the games' VBScript scripts, with saved games.\n"
       "taviro-player --check lists what is broken in a game before a player finds it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries come from the program itself (dpkg-shlibdeps); the fonts and the MIDI soundfont it
# finds at run time are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, timgm6mb-soundfont | sf2-soundfont-gm")
include(CPack)
