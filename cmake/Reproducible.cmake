# Builds of one commit give the same bytes wherever and whenever they run. The linker takes the PE
# header's time stamp from SOURCE_DATE_EPOCH: the variable's value when it is set for the
# configuration, otherwise the time of the commit checked out, otherwise 1 January 1980 (the
# earliest time a zip file can hold). Build folders do not enter the files: the release build keeps
# no debug information, and the file-name macros see paths relative to the tree.
# The time is written to generated/source-date-epoch for the release scripts' file times; the commit
# (with "-dirty" when tracked files have changes; SANDRIVO_COMMIT when set) to generated/commit and generated/build_commit.h,
# which name it in the console program and in every file of a release.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(SANDRIVO_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                    OUTPUT_VARIABLE SANDRIVO_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()
set(SANDRIVO_COMMIT unknown)
find_package(Git QUIET)
if(DEFINED ENV{SANDRIVO_COMMIT})
  set(SANDRIVO_COMMIT $ENV{SANDRIVO_COMMIT})
elseif(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse HEAD WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(NOT failed AND commit MATCHES "^[0-9a-f]+$")
    set(SANDRIVO_COMMIT ${commit})
    execute_process(COMMAND ${GIT_EXECUTABLE} status --porcelain --untracked-files=no
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE changes ERROR_QUIET)
    if(changes)
      string(APPEND SANDRIVO_COMMIT -dirty)
    endif()
  endif()
endif()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/commit CONTENT "${SANDRIVO_COMMIT}\n")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/build_commit.h
     CONTENT "#pragma once\n#define SANDRIVO_COMMIT \"${SANDRIVO_COMMIT}\"\n")
if(NOT SANDRIVO_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  set(SANDRIVO_SOURCE_DATE_EPOCH 315532800)
endif()
# Only the Makefile and Ninja generators run a linker launcher.
if(NOT CMAKE_GENERATOR MATCHES "Makefiles|Ninja")
  message(WARNING "The generator ${CMAKE_GENERATOR} runs no linker launcher: the executables carry the "
                  "time of their link instead of ${SANDRIVO_SOURCE_DATE_EPOCH}, and builds differ.")
endif()
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${SANDRIVO_SOURCE_DATE_EPOCH})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/source-date-epoch CONTENT "${SANDRIVO_SOURCE_DATE_EPOCH}\n")
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>
                    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)
