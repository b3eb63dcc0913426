# What `cmake --install` puts on the system and what `cpack -G DEB` packs: the program, its menu
# entry, its icon, its AppStream metadata, its manual page and, in the documentation folder, the
# README, the changelog and the copyright file (GPL-3.0-or-later; the licence's text is
# /usr/share/common-licenses/GPL-3 on Debian, so LICENSE itself is not installed). Nothing else
# is installed, and the package carries no maintainer scripts: removing it leaves every person's
# data folder alone.
set(KALIMO_ID org.example.kalimo)
# The package's name, in lower case (GNUInstallDirs would use the project's, "Kalimo").
set(KALIMO_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/kalimo)

install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${KALIMO_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${KALIMO_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/images/kalimo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${KALIMO_ID}.svg)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright DESTINATION ${KALIMO_DOCDIR})

# Manual pages, changelogs and the larger documents are gzipped, as Debian's packaging tools do:
# at the highest level, without the file's name and date, so that two builds give the same bytes.
set(compressed)
foreach(file README.md resources/debian/changelog resources/debian/kalimo.1)
    get_filename_component(name ${file} NAME)
    set(copy ${CMAKE_CURRENT_BINARY_DIR}/compressed/${name})
    add_custom_command(OUTPUT ${copy}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${file} ${copy}
        COMMAND gzip -9nf ${copy}
        DEPENDS ${PROJECT_SOURCE_DIR}/${file}
        VERBATIM)
    list(APPEND compressed ${copy}.gz)
endforeach()
add_custom_target(kalimo_compressed_docs ALL DEPENDS ${compressed})
# Building the program alone (./lancer.sh) is enough for `cmake --install`.
add_dependencies(kalimo kalimo_compressed_docs)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/compressed/README.md.gz
              ${CMAKE_CURRENT_BINARY_DIR}/compressed/changelog.gz
        DESTINATION ${KALIMO_DOCDIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/compressed/kalimo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalimo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Bastien Lorival")
set(CPACK_PACKAGE_CONTACT "Bastien Lorival <auteur@kalimo.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "journal de poids et de calories")
set(CPACK_PACKAGE_DESCRIPTION
    "Kalimo est un journal de poids et de calories pour toutes les personnes qui\n\
partagent un même ordinateur, chacune avec son compte protégé par un mot de\n\
passe : un poids par jour et sa courbe, l'année entière, l'indice de masse\n\
corporelle, le journal des calories de chaque jour.\n\
Lancé depuis le menu, Kalimo range les données de chacun dans ~/Kalimo.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.kalimo.example.org/")
# The libraries the program links come from dpkg-shlibdeps (libqt6gui6 brings the display
# plugins, libqt6svg6 the picture plugins); what Qt loads besides, its French texts, and the
# windows' font are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-comic-neue")
include(CPack)
