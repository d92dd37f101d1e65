# The demo project: data/demo copied into a build tree as an ordinary project
# folder, with its tables generated from the text sources of
# data/demo/tables-src/ into that copy (tables-src/dict/KDF_BASES.txt gives
# dict/KDF_BASES.DBF, a source with memo fields also its .FPT file).
#
#   vemlo_demo_project(TARGET name DIR out-dir [TOOL dbfmake DEPENDS deps...])
#
# TOOL is the table writer (a target name or a path); without it the demo gets
# no tables.
function(vemlo_demo_project)
  cmake_parse_arguments(ARG "" "TARGET;DIR;TOOL" "DEPENDS" ${ARGN})
  set(src_dir ${VEMLO_DATA_DIR}/demo)
  set(outputs)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS RELATIVE ${src_dir} ${src_dir}/*)
  foreach(f ${files})
    if(f MATCHES "^tables-src/" OR f MATCHES "\\.in$" OR f STREQUAL ".gitattributes")
      continue()
    endif()
    get_filename_component(d ${ARG_DIR}/${f} DIRECTORY)
    add_custom_command(OUTPUT ${ARG_DIR}/${f}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${d}
      COMMAND ${CMAKE_COMMAND} -E copy ${src_dir}/${f} ${ARG_DIR}/${f}
      DEPENDS ${src_dir}/${f})
    list(APPEND outputs ${ARG_DIR}/${f})
  endforeach()
  if(ARG_TOOL)
    file(GLOB_RECURSE tables CONFIGURE_DEPENDS RELATIVE ${src_dir}/tables-src ${src_dir}/tables-src/*.txt)
    foreach(t ${tables})
      set(table_src ${src_dir}/tables-src/${t})
      string(REGEX REPLACE "\\.txt$" "" base ${ARG_DIR}/${t})
      get_filename_component(d ${base} DIRECTORY)
      set(outs ${base}.DBF)
      file(STRINGS ${table_src} memo REGEX "^[ \t]*field[ \t]+[^ \t]+[ \t]+([Mm]|memoref)([ \t]|$)")
      if(memo)
        list(APPEND outs ${base}.FPT)
      endif()
      add_custom_command(OUTPUT ${outs}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${d}
        COMMAND ${ARG_TOOL} ${table_src} ${base}.DBF
        DEPENDS ${table_src} ${ARG_DEPENDS})
      list(APPEND outputs ${outs})
    endforeach()
  else()
    message(STATUS "no table writer: the demo project in ${ARG_DIR} gets no tables")
  endif()
  add_custom_target(${ARG_TARGET} ALL DEPENDS ${outputs})
endfunction()
