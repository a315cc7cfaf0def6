# The Debian package of both programs: `cpack -G DEB` in a build configured with CMAKE_INSTALL_PREFIX=/usr
# (tools/package.sh does both) gives dromvelpro_<version>_amd64.deb. The programs look for their help page
# under the install prefix they were built for, so the package installs under that same prefix.
set(CPACK_PACKAGE_NAME dromvelpro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora Kft.")
set(CPACK_PACKAGE_CONTACT "Velmora Kft. <info@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Dromvel.Pro házipénztár nyilvántartás")
set(CPACK_PACKAGE_DESCRIPTION
    "Egy kisvállalkozás házipénztára: bevételi és kiadási pénztárbizonylatok, kasszák, napi zárás, előlegek \
elszámolása, időszaki kimutatások. A csomag a DromvelPro főprogramot és a Dromvelpro_upd adatbázis-karbantartó \
programot tartalmazza, súgóval, menübejegyzésekkel és ikonokkal.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION office)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velmora.example/dromvelpro/")
# The shared libraries the programs link are found by dpkg-shlibdeps; the plugins Qt loads at run time are not:
# the SQLite and PostgreSQL drivers (a workstation of a shared server database needs no server of its own, only
# the driver), the X11 platform and the SVG icons.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql, qt6-qpa-plugins, libqt6svg6")
# Hungarian texts in Qt's own dialogs, the report and screen fonts, the icon theme, opening the help page, and
# pg_dump and pg_restore for archiving and restoring a server database.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-liberation2, fonts-wine, breeze-icon-theme, xdg-utils, postgresql-client")

include(CPack)
