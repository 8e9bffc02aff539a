# In a cross build the step-table generator must run on the build machine,
# so it is built there as a project of its own (host-stepgen/) with the
# build machine's compiler. Sets VEILBOX_STEPGEN to the program and
# VEILBOX_STEPGEN_TARGET to the target that builds it.
include(ExternalProject)

set(host_dir ${CMAKE_BINARY_DIR}/host-stepgen)
set(VEILBOX_STEPGEN ${host_dir}/veilbox_stepgen)
ExternalProject_Add(veilbox_host_stepgen
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/host-stepgen
  BINARY_DIR ${host_dir}
  CMAKE_ARGS -DVEILBOX_SOURCE_DIR=${PROJECT_SOURCE_DIR} -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${VEILBOX_STEPGEN})
set(VEILBOX_STEPGEN_TARGET veilbox_host_stepgen)
