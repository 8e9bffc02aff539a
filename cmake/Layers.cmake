# One static library per layer, each linking only the layers below it. A
# layer's sources find headers through include folders of their own: each
# layer gives the folders of src/ it owns in a folder of links under the
# build tree, and passes it on to the layers above. So a header of a layer
# above is not found, and including one fails to build.

# veilbox_layer(TARGET FOLDER...): TARGET's own include folder, linking each
# FOLDER of src/ ("engine", or "gui/qt" for a sub-folder of another layer's
# folder). A folder whose sub-folders belong to other layers ("gui") is
# linked file by file.
set(VEILBOX_FILE_BY_FILE gui)
function(veilbox_layer target)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${root})
  foreach(folder ${ARGN})
    set(source ${PROJECT_SOURCE_DIR}/src/${folder})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(folder IN_LIST VEILBOX_FILE_BY_FILE)
      file(GLOB files LIST_DIRECTORIES false CONFIGURE_DEPENDS ${source}/*)
      file(MAKE_DIRECTORY ${root}/${folder})
      foreach(file ${files})
        get_filename_component(name ${file} NAME)
        file(CREATE_LINK ${file} ${root}/${folder}/${name} SYMBOLIC)
      endforeach()
    else()
      file(CREATE_LINK ${source} ${root}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
