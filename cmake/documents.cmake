# The documents a Debian system expects of an installed program, made at
# configure time: the copyright file in the machine-readable format with the
# licence text taken from LICENSE (so that the two never differ), the
# changelog, and the manual page in English and Japanese. Compressed with
# gzip -9n: no name or time inside, so the same sources give the same bytes.
#
# Sets SORVI_RELEASE_DATE (YYYY-MM-DD) and SORVI_LICENSE (the licence's short
# name) for the other files made from templates.
set(SORVI_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
set(changelog ${CMAKE_SOURCE_DIR}/resources/linux/changelog)
set(license ${CMAKE_SOURCE_DIR}/LICENSE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog} ${license})
find_program(GZIP_PROGRAM gzip REQUIRED)

# The release is the changelog's latest entry: its version must be the
# project's, and its date is the release date.
file(STRINGS ${changelog} heading LIMIT_COUNT 1)
file(STRINGS ${changelog} trailers REGEX "^ -- ")
list(GET trailers 0 trailer)
if(NOT heading MATCHES "^sorvi \\(([^)]+)\\)" OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "${changelog}: the latest entry must be for version ${PROJECT_VERSION}: ${heading}")
endif()
if(NOT trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "${changelog}: no date in the latest entry's last line: ${trailer}")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1")
string(LENGTH ${month} digits)
if(digits EQUAL 1)
  set(month 0${month})
endif()
set(SORVI_RELEASE_DATE ${year}-${month}-${day})

# LICENSE: the licence's name in its first line ("MIT License"), one
# copyright line, and the text from its third line on.
file(READ ${license} license_text)
if(NOT license_text MATCHES "^([^ \n]+) License\n\n(.*)$")
  message(FATAL_ERROR "${license}: the first line must name the licence")
endif()
set(SORVI_LICENSE ${CMAKE_MATCH_1})
set(license_body ${CMAKE_MATCH_2})
if(NOT license_body MATCHES "Copyright \\(c\\) ([^\n]+)")
  message(FATAL_ERROR "${license}: no copyright line")
endif()
set(holders ${CMAKE_MATCH_1})
# The format's continuation lines: one space in front, " ." for an empty line.
string(STRIP "${license_body}" license_body)
string(REPLACE "\n" "\n " license_body " ${license_body}")
string(REPLACE "\n \n" "\n .\n" license_body "${license_body}")
file(WRITE ${SORVI_DOC_DIR}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: sorvi
Upstream-Contact: ${SORVI_CONTACT}
Source: ${SORVI_HOMEPAGE}

Files: *
Copyright: ${holders}
License: ${SORVI_LICENSE}

License: ${SORVI_LICENSE}
${license_body}
")

# Compresses `source` into `target`.
function(sorvi_gzip source target)
  get_filename_component(dir ${target} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${GZIP_PROGRAM} -9n -c ${source} OUTPUT_FILE ${target} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip could not compress ${source}")
  endif()
endfunction()

# A native package: the project's own changelog is the Debian one.
sorvi_gzip(${changelog} ${SORVI_DOC_DIR}/changelog.gz)
foreach(lang en ja)
  set(page ${CMAKE_SOURCE_DIR}/resources/linux/sorvi.1.in)
  if(NOT lang STREQUAL "en")
    set(page ${CMAKE_SOURCE_DIR}/resources/linux/sorvi.${lang}.1.in)
  endif()
  configure_file(${page} ${SORVI_DOC_DIR}/${lang}/sorvi.1 @ONLY)
  sorvi_gzip(${SORVI_DOC_DIR}/${lang}/sorvi.1 ${SORVI_DOC_DIR}/${lang}/sorvi.1.gz)
endforeach()
