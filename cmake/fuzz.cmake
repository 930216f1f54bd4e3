# SORVI_FUZZ=ON adds one libFuzzer program per fuzz/*_fuzz.cpp, built with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer. Configure a build
# directory of its own with clang (scripts/fuzz does); the target sorvi_fuzz
# builds them all.
option(SORVI_FUZZ "build the fuzz targets (needs clang)" OFF)
if(SORVI_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "SORVI_FUZZ needs clang: configure with CXX=clang++")
  endif()
  set(SORVI_FUZZ_SANITIZERS address,undefined)
  set(SORVI_FUZZ_COMPILE_OPTIONS
      -fsanitize=fuzzer-no-link,${SORVI_FUZZ_SANITIZERS}
      -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g -O1)

  # The core once more, instrumented; the main targets stay as they are.
  add_library(sorvi_core_fuzzing STATIC ${SORVI_CORE_SOURCES})
  target_include_directories(sorvi_core_fuzzing PUBLIC src)
  target_compile_options(sorvi_core_fuzzing PUBLIC ${SORVI_FUZZ_COMPILE_OPTIONS})
  target_link_options(sorvi_core_fuzzing PUBLIC -fsanitize=fuzzer,${SORVI_FUZZ_SANITIZERS})

  # Readers on the Qt side that need QtCore only: the address conversion and
  # the download file name.
  add_library(sorvi_qtcore_fuzzing STATIC
    src/platform/cp932.cpp src/platform/web_address.cpp src/platform/download_file_name.cpp)
  target_link_libraries(sorvi_qtcore_fuzzing PUBLIC sorvi_core_fuzzing Qt6::Core)
  set_target_properties(sorvi_qtcore_fuzzing PROPERTIES AUTOMOC OFF)

  add_custom_target(sorvi_fuzz)
  file(GLOB SORVI_FUZZ_TARGETS CONFIGURE_DEPENDS fuzz/*_fuzz.cpp)
  foreach(fuzz_src ${SORVI_FUZZ_TARGETS})
    get_filename_component(fuzz_name ${fuzz_src} NAME_WE)
    add_executable(${fuzz_name} ${fuzz_src})
    target_include_directories(${fuzz_name} PRIVATE fuzz)
    if(fuzz_name MATCHES "^(address|page)")
      target_link_libraries(${fuzz_name} PRIVATE sorvi_qtcore_fuzzing)
    else()
      target_link_libraries(${fuzz_name} PRIVATE sorvi_core_fuzzing)
    endif()
    set_target_properties(${fuzz_name} PROPERTIES AUTOMOC OFF)
    add_dependencies(sorvi_fuzz ${fuzz_name})
  endforeach()
endif()
