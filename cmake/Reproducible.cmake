# Reproducible programs: the same commit gives the same bytes whatever the
# folder or the time of the build, so that anyone can rebuild a release and
# compare its checksums.
#  - no build folder in the objects (file names in assertions and macros);
#    the binary folder is mapped as well, since it may lie inside the source
#    folder and the last map given is tried first;
#  - no link time in the PE header (ld's checksum then follows from the bytes);
#  - archives without member dates or owners.
add_compile_options(
  $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>
  $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>)
add_link_options(-Wl,--no-insert-timestamp)
foreach(lang C CXX)
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endforeach()
