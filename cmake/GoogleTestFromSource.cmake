# GoogleTest and GoogleMock built from Debian's sources (/usr/src/googletest)
# with the cross compiler, under the names find_package(GTest) gives.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(lib gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${lib})  # newer GoogleTest names them itself
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()
