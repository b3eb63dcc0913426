# What `cmake --install` puts on the system and what `cpack -G DEB` packs: the program, its menu
# entry, its icon, its AppStream metadata and the README. Nothing else is installed, and the
# package carries no maintainer scripts: removing it leaves every person's data folder alone.
set(KALIMO_ID org.example.kalimo)

install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${KALIMO_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${KALIMO_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/images/kalimo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${KALIMO_ID}.svg)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kalimo)

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
# The libraries the program links come from dpkg-shlibdeps; what Qt loads at run time (the
# display plugins, its French texts) and the windows' font are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-comic-neue")
include(CPack)
