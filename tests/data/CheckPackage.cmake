# Builds the Debian package of this build tree with CPack, checks it with lintian, unpacks it
# into a scratch root with `dpkg -x`, runs the unpacked program there against the system's Qt
# and checks the unpacked tree as the install test checks its own.
foreach(variable BUILD_DIR CPACK WORK APP_ID VERSION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()
foreach(tool lintian dpkg dpkg-deb dpkg-shlibdeps file)
  find_program(found_${tool} ${tool})
  if(NOT found_${tool})
    message(FATAL_ERROR "${tool} is missing: tools/setup installs it")
  endif()
endforeach()

# The lintian tags the package is known to draw, each with its reason in the README; any other
# warning or error fails.
set(accepted_tags "")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command} failed (${result}):\n${output}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK}")
run("${CPACK}" --config "${BUILD_DIR}/CPackConfig.cmake" -G DEB -B "${WORK}/out")
run("${found_dpkg}" --print-architecture)
string(STRIP "${output}" arch)
set(deb "${WORK}/out/fretloom_${VERSION}_${arch}.deb")
if(NOT EXISTS "${deb}")
  file(GLOB made "${WORK}/out/*.deb")
  message(FATAL_ERROR "CPack made ${made}, not ${deb}")
endif()

set(lintian "${found_lintian}" --fail-on error,warning)
if(accepted_tags)
  list(JOIN accepted_tags "," tags)
  list(APPEND lintian --suppress-tags "${tags}")
endif()
run(${lintian} "${deb}")
message(STATUS "lintian:\n${output}")

# The package's version is the project's; the libraries come from dpkg-shlibdeps, the rest is
# what no link shows.
run("${found_dpkg-deb}" --field "${deb}" Version Depends)
if(NOT output MATCHES "Version: ${VERSION}\n")
  message(FATAL_ERROR "${deb} is not version ${VERSION}:\n${output}")
endif()
foreach(needed "libqt6widgets6 " "fonts-liberation2" "libfluidsynth3"
               "timgm6mb-soundfont | fluid-soundfont-gm")
  string(FIND "${output}" "${needed}" at)
  if(at LESS 0)
    message(FATAL_ERROR "${deb} does not depend on ${needed}:\n${output}")
  endif()
endforeach()

set(root "${WORK}/root")
run("${found_dpkg}" -x "${deb}" "${root}")
# No display and no library path of the build: the program answers from the system's Qt.
run("${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
    --unset=LD_LIBRARY_PATH "${root}/usr/bin/fretloom" --version)
if(NOT output STREQUAL "Fretloom ${VERSION}\n")
  message(FATAL_ERROR "The unpacked fretloom --version says:\n${output}")
endif()

set(PREFIX "${root}/usr")
set(INSTALLED ON)
include("${CMAKE_CURRENT_LIST_DIR}/CheckInstall.cmake")
message(STATUS "${deb} passes lintian and runs from ${root}")
