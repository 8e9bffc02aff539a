# Header-only libraries that Debian installs for the build machine only
# (CLI11), made available to a cross build. Only their own folder is put on
# the include path: /usr/include as a whole would hide MinGW's C library.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
file(CREATE_LINK /usr/include/CLI ${host_headers}/CLI SYMBOLIC)

add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${host_headers})
