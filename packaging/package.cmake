# `make deb`: a Debian package of the program, installed under /usr.
#
# dpkg-shlibdeps derives the dependencies of every shared library the
# program links. What it loads at run time by name (libmpv, FluidSynth) and
# the data it reads (the General MIDI soundfont, the fonts of the window,
# Qt's Japanese translations) is declared here, so that a user who installs
# the package can play files at once.

# The Debian package that holds a library on this machine, at least at the
# version built against: "libmpv2 (>= 0.35.1)". `library` is the file that
# was linked (a development symlink is followed to the library itself);
# without dpkg the given fallback name is used.
function(ondasort_library_package out library fallback)
    set(${out} ${fallback} PARENT_SCOPE)
    find_program(DPKG_QUERY dpkg-query)
    if(NOT DPKG_QUERY OR NOT EXISTS "${library}")
        return()
    endif()
    file(REAL_PATH "${library}" real)
    execute_process(COMMAND ${DPKG_QUERY} -S "${real}"
        OUTPUT_VARIABLE owner RESULT_VARIABLE failed ERROR_QUIET)
    if(failed OR NOT owner MATCHES "^([^:,]+)")
        return()
    endif()
    set(package ${CMAKE_MATCH_1})
    execute_process(COMMAND ${DPKG_QUERY} -W -f=\${Version} ${package}
        OUTPUT_VARIABLE version RESULT_VARIABLE failed ERROR_QUIET)
    string(REGEX REPLACE "-[^-]*$" "" version "${version}")
    if(failed OR version STREQUAL "")
        set(${out} ${package} PARENT_SCOPE)
    else()
        set(${out} "${package} (>= ${version})" PARENT_SCOPE)
    endif()
endfunction()

# The first library of a pkg-config module that is a file.
function(ondasort_module_library out libraries)
    set(${out} "" PARENT_SCOPE)
    foreach(library IN LISTS libraries)
        if(EXISTS "${library}")
            set(${out} "${library}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
endfunction()

ondasort_module_library(mpv_library "${MPV_LINK_LIBRARIES}")
ondasort_module_library(fluidsynth_library "${FLUIDSYNTH_LINK_LIBRARIES}")
ondasort_library_package(mpv_package "${mpv_library}" libmpv2)
ondasort_library_package(fluidsynth_package "${fluidsynth_library}" libfluidsynth3)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ondasort)
set(CPACK_PACKAGE_VENDOR Ondasort)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(ONDASORT_PACKAGE_CONTACT "Ondasort <ondasort@ondasort.example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${ONDASORT_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "聴きながらメディアファイルをフォルダへ振り分けるツール")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "フォルダを選ぶとメディアファイルが一覧に並び、選んだファイルがすぐに
再生されます。テンキー 1〜9 または F1〜F9 のキー一つで、そのファイルを
九つの振り分け先フォルダのどれかへ移動または複製し、次のファイルの
再生が始まります。

Ondasort sorts audio and video files into nine folders while you listen
to them: one key sends the playing file away and the next one starts.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Installed under /usr; the install rules name the prefix, so it is set
# through DESTDIR rather than by relocating the files.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "${mpv_package}, ${fluidsynth_package}, timgm6mb-soundfont | sf2-soundfont-gm, qt6-translations-l10n, fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-aoyagi-kouzan-t, fonts-dejavu-core, fontconfig, hicolor-icon-theme")
# Opening the user's guide and the information page needs a default handler.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, adwaita-icon-theme")

include(CPack)
