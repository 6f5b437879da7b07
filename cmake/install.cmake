# `cmake --install build --prefix P`: the programs in P/bin, their shipped files in
# P/share/qinglan, the desktop entry, icons, AppStream metadata, manual pages, and the case
# service's systemd unit and example configuration. Each file belongs to one of two components,
# which are also the two Debian packages: qinglan (the desktop program and its CLI) and
# qinglan-caseservice.
set(QINGLAN_APP_ID org.qinglan.Qinglan)
set(QINGLAN_HOMEPAGE "https://qinglan.example.org" CACHE STRING "Home page named in the AppStream metadata")
set(dist ${CMAKE_SOURCE_DIR}/dist)

install(TARGETS qinglan qinglan-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT qinglan)
install(TARGETS qinglan-caseservice RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT qinglan-caseservice)

# The case service's web page: plain HTML, CSS and ES modules, served under /app/ from here.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/web/ DESTINATION ${CMAKE_INSTALL_DATADIR}/qinglan/web
        COMPONENT qinglan-caseservice FILES_MATCHING PATTERN "*.html" PATTERN "*.css" PATTERN "*.js")

# The coin pictures: the program takes them from here (and has its own copy built in).
install(FILES ${CMAKE_SOURCE_DIR}/data/y1.bmp ${CMAKE_SOURCE_DIR}/data/y2.bmp ${CMAKE_SOURCE_DIR}/data/q1.bmp
              ${CMAKE_SOURCE_DIR}/data/q2.bmp
        DESTINATION ${CMAKE_INSTALL_DATADIR}/qinglan/coins COMPONENT qinglan)

install(FILES ${dist}/${QINGLAN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT qinglan)
install(FILES ${dist}/icons/${QINGLAN_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT qinglan)
foreach(size IN ITEMS 16 24 32 48 64 128 256)
  install(FILES ${dist}/icons/qinglan-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${QINGLAN_APP_ID}.png COMPONENT qinglan)
endforeach()
configure_file(${dist}/${QINGLAN_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/dist/${QINGLAN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/${QINGLAN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT qinglan)

# Manual pages, made at build time by help2man from each program's own --help (and, for
# qinglan-cli, every command's --help), so they list exactly the options the programs take; the
# prose around them is in dist/man/*.h2m. Compressed as Debian wants them.
find_program(GZIP_PROGRAM gzip REQUIRED)
find_program(HELP2MAN_PROGRAM help2man REQUIRED)
foreach(page IN ITEMS qinglan qinglan-cli qinglan-caseservice)
  set(man_built ${CMAKE_BINARY_DIR}/dist/${page}.1)
  add_custom_command(OUTPUT ${man_built}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
    COMMAND ${dist}/man/make-manual-page $<TARGET_FILE:${page}> ${dist}/man/${page}.h2m ${man_built}
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${man_built} > ${man_built}.gz
    DEPENDS ${page} ${dist}/man/${page}.h2m ${dist}/man/make-manual-page
    COMMENT "Making the manual page ${page}.1 from its --help")
  list(APPEND man_pages ${man_built}.gz)
  if(page STREQUAL "qinglan-caseservice")
    set(component qinglan-caseservice)
  else()
    set(component qinglan)
  endif()
  install(FILES ${man_built}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${man_pages})

# Shell completions; they read the commands and options from the programs' --help as they
# complete. The same files serve each program of a package.
foreach(program IN ITEMS qinglan qinglan-cli qinglan-caseservice)
  if(program STREQUAL "qinglan-caseservice")
    set(component qinglan-caseservice)
  else()
    set(component qinglan)
  endif()
  install(FILES ${dist}/completions/qinglan.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME ${program} COMPONENT ${component})
  install(FILES ${dist}/completions/${program}.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d
          COMPONENT ${component})
endforeach()
install(FILES ${dist}/completions/_qinglan DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions
        COMPONENT qinglan)
install(FILES ${dist}/completions/_qinglan DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions
        RENAME _qinglan-caseservice COMPONENT qinglan-caseservice)

# The service's unit and the configuration it reads, placed when installing, for the prefix of
# that install (`--prefix P` or the packages' /usr): a /usr install puts them where Debian keeps
# them (/lib/systemd/system, /etc), any other stays inside its prefix.
install(CODE "
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(unit_dir /lib/systemd/system)
    set(config_dir /etc/qinglan-caseservice)
  else()
    set(unit_dir \"\${CMAKE_INSTALL_PREFIX}/lib/systemd/system\")
    set(config_dir \"\${CMAKE_INSTALL_PREFIX}/etc/qinglan-caseservice\")
  endif()
  set(QINGLAN_SERVICE_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/qinglan-caseservice\")
  set(QINGLAN_CASESERVICE_CONFIG \"\${config_dir}/caseservice.conf\")
  configure_file(${dist}/qinglan-caseservice.service.in
                 \"${CMAKE_BINARY_DIR}/dist/qinglan-caseservice.service\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/dist/qinglan-caseservice.service\" DESTINATION \"\${unit_dir}\"
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  file(INSTALL \"${dist}/caseservice.conf\" DESTINATION \"\${config_dir}\"
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
" COMPONENT qinglan-caseservice)
