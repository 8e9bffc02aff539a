# veilbox_install_manpage(PAGE): installs the section 1 manual page docs/PAGE
# compressed as Debian ships manual pages: gzip -9 with no name or time in
# the header, so that the same page always gives the same file.
include(GNUInstallDirs)

function(veilbox_install_manpage page)
  set(source ${PROJECT_SOURCE_DIR}/docs/${page})
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
                     COMMAND gzip -9n -c ${source} > ${compressed}
                     DEPENDS ${source})
  add_custom_target(manpage_${page} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
