# Layers of the program: one static library each (or an interface library when a layer has only
# headers), and a check, part of every build, that no file includes a header of a layer its own
# layer does not use.
#
# sandrivo_layer(name USES layer... [SOURCES file.cpp...] [HEADERS file.h...] [ENTRIES file.cpp...])
#   SOURCES are compiled into the library; the header beside each source belongs to the layer too.
#   HEADERS are headers without a source; ENTRIES are program entry points that are built
#   elsewhere but must keep to the layer's rules.

set_property(GLOBAL PROPERTY SANDRIVO_LAYER_RULES "")

function(sandrivo_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "" "USES;SOURCES;HEADERS;ENTRIES")
  set(files ${LAYER_HEADERS} ${LAYER_ENTRIES})
  foreach(source IN LISTS LAYER_SOURCES)
    list(APPEND files ${source})
    string(REGEX REPLACE "\\.cpp$" ".h" header ${source})
    if(EXISTS ${CMAKE_SOURCE_DIR}/${header})
      list(APPEND files ${header})
    endif()
  endforeach()
  if(LAYER_SOURCES)
    add_library(${name} STATIC ${LAYER_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${SANDRIVO_WARNINGS})
    target_link_libraries(${name} PUBLIC ${LAYER_USES})
    # A layer compiled as one unit parses <windows.h> and the standard headers once, not per file.
    set_target_properties(${name} PROPERTIES UNITY_BUILD ${SANDRIVO_UNITY_BUILD})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${LAYER_USES})
  endif()
  string(REPLACE ";" "," uses "${LAYER_USES}")
  string(REPLACE ";" "," fileList "${files}")
  set_property(GLOBAL APPEND PROPERTY SANDRIVO_LAYER_RULES "${name}:${uses}:${fileList}")
  set_property(GLOBAL APPEND PROPERTY SANDRIVO_LAYER_NAMES ${name})
  set_property(GLOBAL APPEND PROPERTY SANDRIVO_LAYER_FILES ${files})
endfunction()

# Adds the check; every layer library waits for it.
function(sandrivo_layer_check)
  get_property(rules GLOBAL PROPERTY SANDRIVO_LAYER_RULES)
  get_property(names GLOBAL PROPERTY SANDRIVO_LAYER_NAMES)
  get_property(files GLOBAL PROPERTY SANDRIVO_LAYER_FILES)
  set(rulesFile ${CMAKE_BINARY_DIR}/layer_rules.txt)
  string(REPLACE ";" "\n" text "${rules}")
  file(WRITE ${rulesFile} "${text}\n")
  list(TRANSFORM files PREPEND ${CMAKE_SOURCE_DIR}/)
  set(stamp ${CMAKE_BINARY_DIR}/layer_check.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DRULES=${rulesFile} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
            -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${files} ${rulesFile} ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMENT "Checking the layers' includes")
  add_custom_target(layer_check ALL DEPENDS ${stamp})
  foreach(name IN LISTS names)
    add_dependencies(${name} layer_check)
  endforeach()
endfunction()
