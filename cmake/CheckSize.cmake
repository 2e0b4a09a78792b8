# Run with -DEXE=file -DLIMIT_KB=n -P: fails when the executable is larger than n KB (1024 bytes).
cmake_minimum_required(VERSION 3.21)
file(SIZE ${EXE} size)
math(EXPR limit "${LIMIT_KB} * 1024")
math(EXPR kb "(${size} + 1023) / 1024")
message(STATUS "${EXE}: ${size} bytes (${kb} KB), budget ${LIMIT_KB} KB")
if(size GREATER limit)
  message(FATAL_ERROR "${EXE} has grown past its budget: ${size} bytes > ${LIMIT_KB} KB")
endif()
