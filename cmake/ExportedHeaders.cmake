# Which headers a library shows, and to whom: to itself and to what links it, to nothing else.
# Its headers are linked one by one into an include directory of its own in the build tree
# (include/<target>/<folder>/<header>), which becomes its include directory. So including a
# header of a library that is not linked fails to compile, where the source root as everyone's
# include directory would let it pass.
#
# jk_export_headers(<target> <folder> [HEADERS <name>...] [EXCLUDE <name>...])
#   <folder>  the headers' folder below the source root, as the includes name it
#             ("platform/audio" for #include "platform/audio/AudioLibrary.h")
#   HEADERS   only these headers of the folder; by default every header directly in it
#   EXCLUDE   not these: another target shows them
function(jk_export_headers target folder)
  cmake_parse_arguments(ARG "" "" "HEADERS;EXCLUDE" ${ARGN})
  set(headers ${ARG_HEADERS})
  if(NOT headers)
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/${folder}
         ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  endif()
  if(ARG_EXCLUDE)
    list(REMOVE_ITEM headers ${ARG_EXCLUDE})
  endif()

  set(root ${CMAKE_BINARY_DIR}/include/${target})
  # Made anew at every configuration, so that a header renamed or removed is gone here too.
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header IN LISTS headers)
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder}/${header} ${root}/${folder}/${header} SYMBOLIC)
  endforeach()

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
