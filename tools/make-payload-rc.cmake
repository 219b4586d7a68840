# Writes the payload resource script from payload/manifest.txt.
# Lines: "<id> <path below payload/>", "@unqmv" for the built uninstaller;
# blank lines and lines starting with # are ignored.
file(STRINGS ${MANIFEST} lines)
set(rc "// Generated from payload/manifest.txt. Do not edit.\nLANGUAGE 0, 0\n")
foreach(line IN LISTS lines)
  if(line MATCHES "^([0-9]+)[ \t]+(.+)$")
    set(id ${CMAKE_MATCH_1})
    set(path ${CMAKE_MATCH_2})
    if(path STREQUAL "@unqmv")
      set(file ${UNQMV})
    else()
      set(file ${PAYLOAD_DIR}/${path})
    endif()
    string(APPEND rc "${id} QVLIB \"${file}\"\n")
  endif()
endforeach()
file(WRITE ${OUT}.tmp "${rc}")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
