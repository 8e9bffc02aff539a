# The Debian package: `cpack -G DEB` in the build folder makes
# veilbox_<version>_<arch>.deb from the install rules, with the copyright
# file and changelog Debian requires, stripped programs, and dependencies
# found by dpkg-shlibdeps from the shared libraries the programs link.
include(GNUInstallDirs)

set(debian_doc ${CMAKE_INSTALL_DATADIR}/doc/veilbox)
install(FILES ${PROJECT_SOURCE_DIR}/scripts/debian/copyright DESTINATION ${debian_doc})
# A native package's changelog is changelog.gz.
include(InstallGzipped)
veilbox_install_gzipped(${PROJECT_SOURCE_DIR}/scripts/debian/changelog ${debian_doc})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veilbox)
set(CPACK_PACKAGE_VENDOR "Tollmark Inc")
set(CPACK_PACKAGE_CONTACT
    "Veilbox maintainers <maintainers@users.noreply.c-seed-9b7f5828.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hide, lock and encrypt folders")
# The extended description, wrapped for an 80-column terminal.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Veilbox keeps a list of your folders and hides the ones you tick: it moves"
       "a folder into the store folder of its drive, can rename every file inside"
       "it to an encrypted name, and puts it back in its place when you ask. The"
       "store folders can be locked against ordinary access, and a password guards"
       "start-up. The package holds the desktop program veilbox and the"
       "command-line program veilbox-cli, which runs the same engine for scripts"
       "and terminals.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS bash-completion)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
