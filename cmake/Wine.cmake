# Windows test programs run under Wine (Debian's wine64) through a launcher
# that CTest puts before each of them. The Wine prefix lives in the build
# folder, and the test WinePrefixReset, which every test requires, starts
# each test run with a new one.
set(VEILBOX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(VEILBOX_WINE_LAUNCHER ${CMAKE_BINARY_DIR}/wine-launcher.sh)
configure_file(${CMAKE_CURRENT_LIST_DIR}/WineLauncher.sh.in ${VEILBOX_WINE_LAUNCHER} @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VEILBOX_WINE_LAUNCHER})

# Adds the reset test; call once tests are enabled.
function(veilbox_add_wine_prefix_reset)
  add_test(NAME WinePrefixReset COMMAND ${VEILBOX_WINE_LAUNCHER} --new-prefix)
  set_tests_properties(WinePrefixReset PROPERTIES FIXTURES_SETUP WinePrefix)
endfunction()
