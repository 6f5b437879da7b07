# `cpack` in build/: the Debian packages qinglan (the desktop program and qinglan-cli) and
# qinglan-caseservice, one per install component, with their library dependencies worked out
# by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qinglan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Qinglan developers")
set(CPACK_PACKAGE_CONTACT "Qinglan developers <qinglan@example.org>" CACHE STRING "Maintainer of the Debian packages")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed with DESTDIR into the packages, under this prefix.
set(CPACK_INSTALL_PREFIX /usr)
# The install scripts place files outside the prefix (/etc, /lib/systemd/system).
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL qinglan qinglan-caseservice)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QINGLAN_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})

set(CPACK_DEBIAN_QINGLAN_PACKAGE_NAME qinglan)
set(CPACK_DEBIAN_QINGLAN_PACKAGE_SECTION utils)
# The database driver and the platform are Qt plugins: dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_QINGLAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins, fonts-noto-cjk | fonts-wqy-microhei")
# QtKeychain reaches the desktop keyring through libsecret, which it loads only when it runs;
# without it the remembered login stays in the database.
set(CPACK_DEBIAN_QINGLAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libsecret-1-0")
# The first line is the synopsis, the rest the extended description.
string(CONCAT CPACK_DEBIAN_QINGLAN_DESCRIPTION
  "workbench for six-line hexagram divination\n"
  "Qinglan casts six-line (liuyao) hexagrams with coins, by the computer,\n"
  "by a name, a case number or the stems and branches of a moment, lays\n"
  "out and draws the chart, writes an analysis report and keeps every case\n"
  "with its judgment and feedback in a local database. qinglan-cli prints\n"
  "charts, analyses and the stems-branches calendar, and backs up, exports\n"
  "and imports the case library.")

set(CPACK_DEBIAN_QINGLAN-CASESERVICE_PACKAGE_NAME qinglan-caseservice)
set(CPACK_DEBIAN_QINGLAN-CASESERVICE_PACKAGE_SECTION net)
string(CONCAT CPACK_DEBIAN_QINGLAN-CASESERVICE_DESCRIPTION
  "case service for the Qinglan divination workbench\n"
  "qinglan-caseservice keeps accounts and cloud cases of the Qinglan\n"
  "desktop program in one SQLite file and serves them over HTTP or HTTPS,\n"
  "with a web page for phones and browsers that draws the same charts.\n"
  "It comes with a systemd unit that runs it as a user of its own.")
# The web page's charts read the shipped divination rows through Qt's SQLite plugin, which
# dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_QINGLAN-CASESERVICE_PACKAGE_DEPENDS "libqt6sql6-sqlite")
# The maintainer scripts stop the service on removal and restart it after an upgrade, as
# dh_installsystemd writes them; deb-systemd-helper and deb-systemd-invoke come with the
# essential init-system-helpers.
set(caseservice_control ${CMAKE_SOURCE_DIR}/dist/debian/caseservice)
set(CPACK_DEBIAN_QINGLAN-CASESERVICE_PACKAGE_CONTROL_EXTRA
    ${caseservice_control}/conffiles ${caseservice_control}/postinst ${caseservice_control}/prerm
    ${caseservice_control}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# What every Debian package carries in its documentation folder.
foreach(package IN ITEMS qinglan qinglan-caseservice)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          COMPONENT ${package})
  set(changelog ${CMAKE_BINARY_DIR}/dist/${package}/changelog.gz)
  configure_file(${CMAKE_SOURCE_DIR}/dist/debian/changelog.in ${CMAKE_BINARY_DIR}/dist/${package}/changelog @ONLY)
  add_custom_command(OUTPUT ${changelog}
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${CMAKE_BINARY_DIR}/dist/${package}/changelog > ${changelog}
    DEPENDS ${CMAKE_BINARY_DIR}/dist/${package}/changelog)
  list(APPEND changelogs ${changelog})
  install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${package})
endforeach()
add_custom_target(package_changelogs ALL DEPENDS ${changelogs})

include(CPack)
