# `make deb`: a Debian package of the program, installed under /usr.
#
# dpkg-shlibdeps derives the dependencies of every shared library the
# program and its player module link (Qt, libmpv, FluidSynth). The data
# they read (the General MIDI soundfont, the fonts of the window, Qt's
# Japanese translations) is declared here, so that a user who installs the
# package can play files at once.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ondasort)
set(CPACK_PACKAGE_VENDOR Ondasort)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ONDASORT_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ONDASORT_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sort media files into folders by listening to them")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Ondasort lists the audio and video files of a folder and plays the
chosen one at once. One key (keypad 1-9 or F1-F9) moves or copies the
playing file into one of nine destination folders, and the next file
starts. Moves, copies and deletions are kept in a journal and can be
undone, even after the program was closed and started again.

The window is in Japanese:

フォルダを選ぶとメディアファイルが一覧に並び、選んだファイルがすぐに
再生されます。テンキー 1〜9 または F1〜F9 のキー一つで、そのファイルを
九つの振り分け先フォルダのどれかへ移動または複製し、次のファイルの
再生が始まります。")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Installed under /usr; the install rules name the prefix, so it is set
# through DESTDIR rather than by relocating the files.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Files 0644 and folders 0755 whatever the umask of the build.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "timgm6mb-soundfont | sf2-soundfont-gm, qt6-translations-l10n, fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-aoyagi-kouzan-t, fonts-dejavu-core, fontconfig, hicolor-icon-theme")
# Opening the user's guide and the information page needs a default handler.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, adwaita-icon-theme")

include(CPack)
