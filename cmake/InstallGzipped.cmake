# veilbox_install_gzipped(SOURCE DESTINATION): installs SOURCE as
# DESTINATION/<its name>.gz, compressed the way Debian ships manual pages and
# changelogs: gzip -9 with no name or time in the header, so that the same
# file always gives the same bytes.
function(veilbox_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
                     COMMAND gzip -9n -c ${source} > ${compressed}
                     DEPENDS ${source})
  add_custom_target(gzip_${name} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${destination})
endfunction()
