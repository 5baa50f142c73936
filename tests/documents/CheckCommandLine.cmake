# Runs the built program as a shell would and checks the exit code and which stream each answer
# goes to. Help and version come without any display; misuse needs the platform that Qt opens
# before it can tell its own options from unknown ones.
foreach(variable PROGRAM VERSION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

set(failures "")
# expect(<exit code> <stdout regex> <stderr regex> <platform> <arguments...>)
function(expect code out err platform)
  if(platform STREQUAL "none")
    set(environment --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM)
  else()
    set(environment QT_QPA_PLATFORM=${platform})
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${environment} "${PROGRAM}" ${ARGN}
                  RESULT_VARIABLE result OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  # Qt's own notes (such as a missing XDG_RUNTIME_DIR under root) may come on stderr.
  string(REGEX REPLACE "QStandardPaths: [^\n]*\n" "" stderr "${stderr}")
  if(NOT result STREQUAL code OR NOT stdout MATCHES "${out}" OR NOT stderr MATCHES "${err}")
    string(REPLACE ";" " " arguments "${ARGN}")
    set(failures "${failures}\nfretloom ${arguments}: exit ${result}\nstdout:\n${stdout}\nstderr:\n${stderr}"
        PARENT_SCOPE)
  endif()
endfunction()

string(REPLACE "." "\\." version "${VERSION}")
expect(0 "^Usage: [^\n]*fretloom \\[options\\] \\[FILE\\]\n.*--version" "^$" none --help)
expect(0 "^Usage: " "^$" none -h some.txt)
expect(0 "^Fretloom ${version}\n$" "^$" none --version)
expect(0 "^Fretloom ${version}\n$" "^$" none -v)
expect(2 "^$" "^Unknown option 'bogus'\\.\n\nUsage: [^\n]*fretloom \\[options\\] \\[FILE\\]\n" offscreen --bogus)
expect(2 "^$" "^Too many arguments[^\n]*\n\nUsage: " offscreen a.txt b.txt)
# Qt's own options are Qt's, not unknown ones.
expect(0 "^Fretloom ${version}\n$" "^$" offscreen -platform offscreen --version)
if(failures)
  message(FATAL_ERROR "The command line answered wrongly:${failures}")
endif()
