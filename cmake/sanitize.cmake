# SORVI_SANITIZE=ON builds every target with AddressSanitizer and
# UndefinedBehaviorSanitizer. Undefined behaviour aborts instead of printing
# and going on, so a test run cannot pass over it.
#
# Included at the end of the top-level file: the value of CMAKE_CXX_FLAGS at
# the end of a directory is the one its targets are built with.
option(SORVI_SANITIZE "build everything with ASan and UBSan" OFF)
if(SORVI_SANITIZE)
  set(SORVI_SANITIZE_FLAGS
      "-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer")
  string(APPEND CMAKE_CXX_FLAGS " ${SORVI_SANITIZE_FLAGS}")
  string(APPEND CMAKE_C_FLAGS " ${SORVI_SANITIZE_FLAGS}")
  string(APPEND CMAKE_EXE_LINKER_FLAGS " -fsanitize=address,undefined")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS " -fsanitize=address,undefined")
endif()
