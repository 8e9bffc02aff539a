# The desktop windows (veilbox_gui, Qt Widgets over veilbox_core) and the
# desktop program veilbox, with what `cmake --install` puts on the desktop.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
include(GNUInstallDirs)

add_library(veilbox_gui STATIC
  app/frmLogin.cpp
  app/QtDialogue.cpp
  app/StartStages.cpp
  engine/frmMain.cpp
  engine/frmMainLayout.cpp
  engine/MainWindowDialogue.cpp
  dialogs/frmAbout.cpp
  dialogs/frmOptions.cpp
  dialogs/SysInfo.cpp)
set_target_properties(veilbox_gui PROPERTIES AUTOMOC ON)
target_link_libraries(veilbox_gui PUBLIC veilbox_core Qt6::Widgets)
qt_add_resources(veilbox_gui veilbox_icons
  PREFIX /veilbox
  BASE app/resources
  FILES app/resources/veilbox.png)

add_executable(veilbox app/main.cpp)
target_link_libraries(veilbox PRIVATE veilbox_gui)

install(TARGETS veilbox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
include(InstallGzipped)
veilbox_install_gzipped(${PROJECT_SOURCE_DIR}/docs/veilbox.1 ${CMAKE_INSTALL_MANDIR}/man1)
# The desktop entry's name is the AppStream id, which the metainfo file's
# launchable names.
install(FILES app/resources/io.github.veilbox.Veilbox.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES app/resources/io.github.veilbox.Veilbox.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES app/resources/veilbox.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES app/resources/veilbox.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
