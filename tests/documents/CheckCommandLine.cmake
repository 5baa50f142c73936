# Runs the built program as a shell would and checks the exit code and which stream each answer
# goes to. Help, version, export and misuse of known options come without any display; an
# unknown option needs the platform that Qt opens before it can tell its own options from it.
foreach(variable PROGRAM VERSION SCRATCH)
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
# Export needs no display: a MIDI file, or one line naming the file and the reason and no file.
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
file(WRITE "${SCRATCH}/riff.txt" "e|0-\r\nB|--\r\nG|--\r\nD|--\r\nA|--\r\nE|--\r\n")
file(WRITE "${SCRATCH}/kept.mid" "kept")
expect(0 "^$" "^$" none --export "${SCRATCH}/riff.mid" --tempo 140 "${SCRATCH}/riff.txt")
expect(1 "^$" "^fretloom: Could not open \"[^\n]*missing.txt\": [^\n]+\n$" none
       --export "${SCRATCH}/kept.mid" "${SCRATCH}/missing.txt")
expect(1 "^$" "^fretloom: Could not export to \"[^\n]*riff.wav\": [^\n]+\n$" none
       --export "${SCRATCH}/riff.wav" "${SCRATCH}/riff.txt")
expect(2 "^$" "^The tempo must be [^\n]*\n\nUsage: " none --export a.mid --tempo 400 a.txt)
file(READ "${SCRATCH}/riff.mid" midi HEX)
file(READ "${SCRATCH}/kept.mid" kept)
file(GLOB left RELATIVE "${SCRATCH}" "${SCRATCH}/*")
list(SORT left)
if(NOT midi MATCHES "^4d546864" OR NOT kept STREQUAL "kept" OR NOT left STREQUAL "kept.mid;riff.mid;riff.txt")
  set(failures "${failures}\nexport left: ${left}, kept.mid: ${kept}, riff.mid: ${midi}")
endif()
# Qt's own options are Qt's, not unknown ones.
expect(0 "^Fretloom ${version}\n$" "^$" offscreen -platform offscreen --version)
if(failures)
  message(FATAL_ERROR "The command line answered wrongly:${failures}")
endif()
