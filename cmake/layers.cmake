# The plug-in's layers: one static library each, whose headers only the
# targets that link it can include.
#
# vemlo_layer(<target> FILES <paths below src/ or absolute> [PUBLIC <targets>] [PRIVATE <targets>])
#
# The headers of a layer are linked (symbolic links) into
# <build>/layers/<target>/ under their paths below src/, and that folder is the
# layer's one include directory. No target has src/ itself as an include
# directory, so "fox/views/formatter.h" compiles only in a target that links
# the layer holding it: an include against the direction of the layers is a
# compile error. PUBLIC names the layers whose headers the layer's own headers
# include; PRIVATE the ones only its sources include.
function(vemlo_layer name)
  cmake_parse_arguments(L "" "" "FILES;PUBLIC;PRIVATE" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  file(REMOVE_RECURSE ${root})
  set(sources)
  foreach(f ${L_FILES})
    if(NOT IS_ABSOLUTE ${f})
      set(f ${CMAKE_SOURCE_DIR}/src/${f})
    endif()
    if(NOT EXISTS ${f})
      message(FATAL_ERROR "layer ${name}: no file ${f}")
    endif()
    list(APPEND sources ${f})
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/src ${f})
    if(f MATCHES "\\.(h|inc)$" AND NOT rel MATCHES "^\\.\\.")
      get_filename_component(dir ${root}/${rel} DIRECTORY)
      file(MAKE_DIRECTORY ${dir})
      file(CREATE_LINK ${f} ${root}/${rel} SYMBOLIC)
    endif()
  endforeach()
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES LINKER_LANGUAGE CXX)
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
  set_property(GLOBAL APPEND PROPERTY VEMLO_LAYER_FILES ${sources})
endfunction()
