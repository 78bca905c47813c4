# Installation: the program and its guide share one folder of their own
# (<prefix>/lib/ondasort). A per-user install (cmake --install build --prefix
# ~/.local) keeps the settings file there too, beside the executable; a
# system-wide one (the Debian package, under /usr) keeps it in each user's
# config folder. A launcher link, a desktop entry and an icon make the
# program appear in menus.
install(TARGETS Ondasort RUNTIME DESTINATION ${ONDASORT_APP_DIR})
# The libmpv backend module is loaded from beside the executable; both
# find the player interface library there.
install(TARGETS ondasort_mpv ondasort_player_backend LIBRARY DESTINATION ${ONDASORT_APP_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/Readme.txt DESTINATION ${ONDASORT_APP_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/ondasort.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The launcher link and the desktop entry name the prefix chosen at install time.
configure_file(${CMAKE_SOURCE_DIR}/packaging/install-launcher.cmake.in
    ${CMAKE_BINARY_DIR}/install-launcher.cmake @ONLY)
install(SCRIPT ${CMAKE_BINARY_DIR}/install-launcher.cmake)
