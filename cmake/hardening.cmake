# Optimised builds get the hardening that Debian builds its own packages
# with: checked string and memory functions (_FORTIFY_SOURCE needs the
# optimiser), stack protection, and relocations made read-only and bound at
# start-up. The flags come from dpkg-buildflags when it is there. Sanitized
# and fuzzing builds go without: the sanitizers check more than these do and
# the fortified functions would hide calls from them.
#
# Included before the first target: directory options reach only the targets
# made after them.
if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$" AND NOT SORVI_SANITIZE AND NOT SORVI_FUZZ)
  set(SORVI_HARDENING_COMPILE -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat -Werror=format-security)
  set(SORVI_HARDENING_LINK -Wl,-z,relro -Wl,-z,now)
  find_program(DPKG_BUILDFLAGS dpkg-buildflags)
  if(DPKG_BUILDFLAGS)
    set(SORVI_HARDENING_COMPILE "")
    set(SORVI_HARDENING_LINK "")
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
      separate_arguments(flags UNIX_COMMAND "${flags}")
      # The build type decides debugging information and optimisation; a
      # path map naming this checkout would defeat the shared compiler cache.
      list(FILTER flags EXCLUDE REGEX "^-(g.*|O.*|f(file|debug|macro)-prefix-map=.*)$")
      if(kind STREQUAL "LDFLAGS")
        list(APPEND SORVI_HARDENING_LINK ${flags})
      else()
        list(APPEND SORVI_HARDENING_COMPILE ${flags})
      endif()
    endforeach()
  endif()
  add_compile_options(${SORVI_HARDENING_COMPILE})
  add_link_options(${SORVI_HARDENING_LINK})
  list(JOIN SORVI_HARDENING_COMPILE " " compile)
  list(JOIN SORVI_HARDENING_LINK " " link)
  message(STATUS "Hardening: ${compile} ${link}")
endif()
