# Delay-import libraries: a program linked with libX_delay.a instead of X's
# import library loads X.dll at its first call into it, not at start-up.
# The list of names comes from the toolchain's own import library, so every
# function it offers can be delay-loaded. The helper that loads the DLL
# (__delayLoadHelper2, in the MinGW-w64 runtime) calls LoadLibrary, which
# after LimitDllSearchToSystemFolder looks in the system folder only.
#
#   tessel_delay_imports(<interface target> <dll name>...)
#     e.g. tessel_delay_imports(tessel_gui_delay user32 gdi32): linking the
#     target links the delay-import libraries of user32.dll and gdi32.dll.
find_program(TESSEL_DLLTOOL ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)
find_program(TESSEL_NM ${TOOLCHAIN_PREFIX}-nm REQUIRED)

function(tessel_delay_imports target)
  set(_underscored OFF)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(_underscored ON)
  endif()
  add_library(${target} INTERFACE)
  set(_outputs "")
  foreach(_dll IN LISTS ARGN)
    find_library(_import_${_dll} ${_dll} REQUIRED NO_CACHE)
    set(_def ${CMAKE_BINARY_DIR}/delayimp/${_dll}.def)
    set(_lib ${CMAKE_BINARY_DIR}/delayimp/lib${_dll}_delay.a)
    add_custom_command(
      OUTPUT ${_lib}
      COMMAND ${CMAKE_COMMAND} -DNM=${TESSEL_NM} -DIMPORT_LIB=${_import_${_dll}} -DDLL=${_dll}.dll
              -DDEF=${_def} -DUNDERSCORED=${_underscored} -P ${CMAKE_SOURCE_DIR}/cmake/make-delay-def.cmake
      # -k: on i686 the names are imported without their @n, as the DLL exports them.
      COMMAND ${TESSEL_DLLTOOL} -k -d ${_def} --dllname ${_dll}.dll --output-delaylib ${_lib}
      DEPENDS ${_import_${_dll}} ${CMAKE_SOURCE_DIR}/cmake/make-delay-def.cmake
      COMMENT "Delay-import library of ${_dll}.dll"
      VERBATIM)
    list(APPEND _outputs ${_lib})
  endforeach()
  add_custom_target(${target}_libs DEPENDS ${_outputs})
  add_dependencies(${target} ${target}_libs)
  target_link_libraries(${target} INTERFACE ${_outputs})
endfunction()
