# Copies the sample lists beside the program only where no list exists yet.
foreach(name SV_Code.txt SV_List.txt)
  if(NOT EXISTS "${DST}/${name}" AND NOT EXISTS "${DST}/${name}.___")
    file(COPY "${SRC}/${name}" DESTINATION "${DST}")
  endif()
endforeach()
