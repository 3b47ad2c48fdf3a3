# zobelso_type_library(<target> IDL <file.idl> RC <file.rc>)
# Windows builds only. Compiles the .idl into a type library in the build
# folder with the cross toolchain's widl (for the target's bitness) and adds
# the .rc, which embeds it, to <target>. The resource is rebuilt whenever the
# type library changes.
function(zobelso_type_library target)
  cmake_parse_arguments(T "" "IDL;RC" "" ${ARGN})

  # widl sits next to the cross compiler under the same triplet prefix
  # (x86_64-w64-mingw32-widl, i686-w64-mingw32-widl); a toolchain file may
  # name it with ZOBELSO_WIDL instead.
  if(NOT ZOBELSO_WIDL)
    get_filename_component(compilerDir ${CMAKE_CXX_COMPILER} DIRECTORY)
    get_filename_component(compilerName ${CMAKE_CXX_COMPILER} NAME)
    string(REGEX MATCH "^(.+-)(g\\+\\+|c\\+\\+|clang\\+\\+)" prefix ${compilerName})
    find_program(ZOBELSO_WIDL NAMES ${CMAKE_MATCH_1}widl widl HINTS ${compilerDir}
                 NO_CMAKE_FIND_ROOT_PATH)
  endif()
  if(NOT ZOBELSO_WIDL)
    message(FATAL_ERROR "widl not found (Debian package mingw-w64-tools)")
  endif()

  # The library imports IDispatch and the other automation types from
  # stdole2.tlb; wine's copy serves both bitnesses (only names and GUIDs are
  # taken from it).
  find_path(ZOBELSO_STDOLE2_DIR stdole2.tlb
            PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows
                  /usr/lib/x86_64-linux-gnu/wine/i386-windows
                  /usr/lib/i386-linux-gnu/wine/i386-windows
                  /usr/lib/wine/x86_64-windows /usr/lib/wine/i386-windows
                  /usr/lib64/wine/x86_64-windows /usr/lib/wine
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ZOBELSO_STDOLE2_DIR)
    message(FATAL_ERROR "stdole2.tlb not found (Debian package libwine)")
  endif()

  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(bitness --win64)
  else()
    set(bitness --win32)
  endif()

  get_filename_component(name ${T_IDL} NAME_WE)
  set(tlbDir ${CMAKE_CURRENT_BINARY_DIR}/typelib)
  set(tlb ${tlbDir}/${name}.tlb)
  add_custom_command(OUTPUT ${tlb}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${tlbDir}
    COMMAND ${ZOBELSO_WIDL} ${bitness} -t -L ${ZOBELSO_STDOLE2_DIR} -o ${tlb} ${T_IDL}
    DEPENDS ${T_IDL}
    COMMENT "Compiling the type library ${name}.tlb"
    VERBATIM)

  # Its own target, so that widl need not wait for the libraries the DLL links.
  add_custom_target(${target}_typelib DEPENDS ${tlb})
  add_dependencies(${target} ${target}_typelib)
  target_sources(${target} PRIVATE ${T_RC})
  set_source_files_properties(${T_RC} PROPERTIES
    INCLUDE_DIRECTORIES ${tlbDir}
    OBJECT_DEPENDS ${tlb})
endfunction()
