# Fails when the program, or any library it loads at start, needs libfluidsynth or libcups:
# both are loaded when first used, so that starting does not pay for them.
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "ldd could not read ${PROGRAM}")
endif()
if(NOT libraries MATCHES "libQt6Core")
  message(FATAL_ERROR "ldd listed no Qt in ${PROGRAM}:\n${libraries}")
endif()
foreach(library fluidsynth cups)
  if(libraries MATCHES "lib${library}")
    message(FATAL_ERROR "${PROGRAM} loads lib${library} at start:\n${libraries}")
  endif()
endforeach()
