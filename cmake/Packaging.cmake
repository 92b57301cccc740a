# The Debian package (cpack -G DEB in the build folder). dpkg-shlibdeps finds the libraries the
# program links; Qt's platform plugins and German translations are loaded at run time, so they
# are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tickerpost)
set(CPACK_PACKAGE_CONTACT "Tickerpost <post@tickerpost.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "SMS über ein E-Mail-zu-SMS-Gateway senden")
set(CPACK_PACKAGE_DESCRIPTION "Tickerpost sendet SMS vom Desktop: jeder Teil einer SMS geht als eigene \
E-Mail an das E-Mail-zu-SMS-Gateway des Anbieters. Mit Monatszähler, Archiv, Entwürfen und Adressbuch.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
include(CPack)
