# Installation: the program has a folder of its own (<prefix>/libexec/ondasort)
# with its player module and library; its guide, copyright and changelog go
# with the documentation (<prefix>/share/doc/ondasort). A per-user install
# (cmake --install build --prefix ~/.local) keeps the settings file beside
# the executable; a system-wide one (the Debian package, under /usr) keeps it
# in each user's config folder. A launcher, a desktop entry, AppStream
# metadata, an icon and manual pages make the program appear in menus,
# software centres and `man`.
install(TARGETS Ondasort RUNTIME DESTINATION ${ONDASORT_APP_DIR})
# The libmpv backend module is loaded from beside the executable; both
# find the player interface library there.
install(TARGETS ondasort_mpv ondasort_player_backend LIBRARY DESTINATION ${ONDASORT_APP_DIR})
# The list of the libraries the module needs, which the program opens one by one.
install(FILES ${ONDASORT_OUTPUT_DIR}/ondasort-mpv.libs DESTINATION ${ONDASORT_APP_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/ondasort.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(ONDASORT_HOMEPAGE "https://ondasort.example.org/")
set(ONDASORT_PACKAGE_CONTACT "Ondasort <ondasort@ondasort.example.org>"
    CACHE STRING "Maintainer of the Debian package, also named in its changelog and copyright")

# Documentation as Debian wants it: the changelog and the manual pages
# compressed without a time stamp, so two builds give the same files.
set(doc_build ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${doc_build}/changelog @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright ${doc_build}/copyright @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/ondasort.metainfo.xml ${doc_build}/ondasort.metainfo.xml @ONLY)
set(compressed)
foreach(pair "changelog:${doc_build}/changelog" "ondasort.1:${CMAKE_SOURCE_DIR}/packaging/ondasort.1"
        "ondasort.ja.1:${CMAKE_SOURCE_DIR}/packaging/ondasort.ja.1")
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 source)
    add_custom_command(OUTPUT ${doc_build}/${name}.gz
        COMMAND gzip -9nc ${source} > ${doc_build}/${name}.gz
        DEPENDS ${source} VERBATIM)
    list(APPEND compressed ${doc_build}/${name}.gz)
endforeach()
add_custom_target(ondasort_docs ALL DEPENDS ${compressed})

install(FILES ${CMAKE_SOURCE_DIR}/Readme.txt ${doc_build}/copyright ${doc_build}/changelog.gz
    DESTINATION ${ONDASORT_DOC_DIR})
install(FILES ${doc_build}/ondasort.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${doc_build}/ondasort.ja.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1 RENAME ondasort.1.gz)
install(FILES ${doc_build}/ondasort.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
    RENAME org.example.ondasort.metainfo.xml)

# The launcher link and the desktop entry name the prefix chosen at install time.
configure_file(${CMAKE_SOURCE_DIR}/packaging/install-launcher.cmake.in
    ${CMAKE_BINARY_DIR}/install-launcher.cmake @ONLY)
install(SCRIPT ${CMAKE_BINARY_DIR}/install-launcher.cmake)
