# Runs `cmake --install` into PREFIX and fails on anything a desktop or software centre would
# reject or show wrongly. With INSTALLED set, checks the tree already in PREFIX instead (the
# package test unpacks the package there).
foreach(variable PREFIX APP_ID VERSION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(NOT DESKTOP_FILE_VALIDATE)
  message(FATAL_ERROR "desktop-file-validate is missing: install Debian's desktop-file-utils "
                      "(tools/setup does)")
endif()
find_program(APPSTREAMCLI appstreamcli)
if(NOT APPSTREAMCLI)
  message(FATAL_ERROR "appstreamcli is missing: install Debian's appstream (tools/setup does)")
endif()

if(NOT INSTALLED)
  file(REMOVE_RECURSE "${PREFIX}")
  execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${output}")
  endif()
endif()

set(binary "${PREFIX}/bin/fretloom")
set(desktop "${PREFIX}/share/applications/${APP_ID}.desktop")
set(metainfo "${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml")
set(png "${PREFIX}/share/icons/hicolor/32x32/apps/${APP_ID}.png")
set(svg "${PREFIX}/share/icons/hicolor/scalable/apps/${APP_ID}.svg")
set(manual "${PREFIX}/share/man/man1/fretloom.1.gz")
set(copyright "${PREFIX}/share/doc/fretloom/copyright")
set(changelog "${PREFIX}/share/doc/fretloom/changelog.gz")
set(missing "")
foreach(path binary desktop metainfo png svg manual copyright changelog)
  if(NOT EXISTS "${${path}}" OR IS_DIRECTORY "${${path}}")
    string(APPEND missing "\n  ${${path}}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "The install tree lacks:${missing}")
endif()

# The validators exit 0 on hints and warnings; any word from them counts as a fault here.
execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${desktop}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate rejects ${desktop}:\n${output}")
endif()

# --strict fails on warnings and infos; the one pedantic note, about the capitals of the
# reverse-DNS id, is the usual form of such ids and does not fail.
execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net --strict "${metainfo}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate rejects ${metainfo}:\n${output}")
endif()
# The tree check also follows the launchable to the installed desktop entry.
execute_process(COMMAND "${APPSTREAMCLI}" validate-tree --no-net --strict "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate-tree rejects ${PREFIX}:\n${output}")
endif()

# The PNG's header: signature, then the IHDR chunk with width and height as 32-bit numbers.
file(READ "${png}" header LIMIT 24 HEX)
if(NOT header MATCHES "^89504e470d0a1a0a0000000d49484452")
  message(FATAL_ERROR "${png} is not a PNG (starts ${header})")
endif()
string(SUBSTRING "${header}" 32 16 size)
if(NOT size STREQUAL "0000002000000020")
  message(FATAL_ERROR "${png} is not 32 x 32 (width and height ${size} in hex)")
endif()

file(READ "${svg}" svg_text)
if(NOT svg_text MATCHES "<svg[^>]*viewBox=\"0 0 32 32\"")
  message(FATAL_ERROR "${svg} has no <svg> root with the icon's 32 x 32 view box")
endif()

# The three files name each other: the entry starts the installed binary and shows the
# installed icon, and the description is of this id, launched by this entry, at this version.
# The entry hands the binary the file chosen under "Open With", offered for text files.
file(STRINGS "${desktop}" exec_line REGEX "^Exec=")
file(STRINGS "${desktop}" icon_line REGEX "^Icon=")
file(READ "${desktop}" entry)
if(NOT exec_line STREQUAL "Exec=fretloom %f")
  message(FATAL_ERROR "${desktop} does not start the installed binary with one file: ${exec_line}")
endif()
if(NOT entry MATCHES "\nMimeType=([^\n]*;)?text/plain;")
  message(FATAL_ERROR "${desktop} is not offered for text files (text/plain in MimeType=)")
endif()
if(NOT icon_line STREQUAL "Icon=${APP_ID}")
  message(FATAL_ERROR "${desktop} does not name the installed icon ${APP_ID}: ${icon_line}")
endif()
file(READ "${metainfo}" meta)
if(NOT meta MATCHES "<id>${APP_ID}</id>")
  message(FATAL_ERROR "${metainfo} does not carry the id ${APP_ID}")
endif()
if(NOT meta MATCHES "<launchable type=\"desktop-id\">${APP_ID}\\.desktop</launchable>")
  message(FATAL_ERROR "${metainfo} does not launch ${APP_ID}.desktop")
endif()
if(NOT meta MATCHES "<release version=\"([^\"]+)\"")
  message(FATAL_ERROR "${metainfo} lists no release")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "${metainfo} names ${CMAKE_MATCH_1} as the newest release, the project "
                      "is ${VERSION}: add a <release> entry")
endif()
message(STATUS "The install tree in ${PREFIX} validates")
