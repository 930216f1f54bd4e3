# Run by cpack on the staged files before it packs them: cpack's own strip
# leaves the compiler's .comment section in the program, which Debian's
# packages go without.
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program ${programs})
  execute_process(COMMAND ${CPACK_SORVI_OBJCOPY} --remove-section=.comment ${program} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objcopy could not remove .comment from ${program}")
  endif()
endforeach()
