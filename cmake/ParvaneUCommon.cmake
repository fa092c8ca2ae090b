# Flags shared by every target of the project (not exported to hosts).
add_library(parvaneu_flags INTERFACE)
target_compile_options(parvaneu_flags INTERFACE -Wall -Wextra)
if(PARVANEU_WERROR)
  target_compile_options(parvaneu_flags INTERFACE -Werror)
endif()
if(PARVANEU_SANITIZE)
  target_compile_options(parvaneu_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(parvaneu_flags INTERFACE -fsanitize=address,undefined)
endif()
if(PARVANEU_FUZZ)
  # Coverage for the fuzzer in every library, with ASan and UBSan stopping at the first fault.
  target_compile_options(parvaneu_flags INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                         -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(parvaneu_flags INTERFACE -fsanitize=address,undefined)
endif()
if(PARVANEU_TSAN)
  target_compile_options(parvaneu_flags INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(parvaneu_flags INTERFACE -fsanitize=thread)
endif()

# Precompiled headers: the platform's umbrella header (<winport/afx.h>, plus any headers given)
# parsed once per target instead of once per source; `REUSE_FROM other` takes another target's
# instead (same compile options). The precompiled header is not made a system header, so
# warnings in what it includes still fail a -Werror build; each header is still compiled on its
# own, without it, by the header check. Clang leaves the timestamp out so that ccache can reuse
# what was compiled against it.
set(CMAKE_PCH_PROLOGUE "")
# Clang only: g++ 12 loads its precompiled headers (80-130 MB here) more slowly than it parses
# the headers (a sample of 76 sources: 158 s CPU with them, 133 s without; clang 65 s and 93 s).
function(parvaneu_precompile target)
  if(NOT PARVANEU_PCH OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  if(ARGV1 STREQUAL "REUSE_FROM")
    target_precompile_headers(${target} REUSE_FROM ${ARGV2})
  else()
    foreach(header IN ITEMS "<winport/afx.h>" ${ARGN})
      target_precompile_headers(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${header}>")
    endforeach()
  endif()
  target_compile_options(${target} PRIVATE "SHELL:-Xclang -fno-pch-timestamp")
endfunction()

# The install keeps its layout relative: a library finds its siblings through $ORIGIN and a tool
# finds them one step up, so an installed tree runs from any prefix it is copied to.
file(RELATIVE_PATH PARVANEU_BIN_TO_LIB ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})

# One policy for the three shared libraries: versioned, hidden visibility (what hosts may use is
# marked with the library's export macro), and a run path relative to where they are installed.
function(parvaneu_shared_library target)
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
    CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
    INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${target} EXPORT ParvaneUTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
endfunction()

# Installs the headers of a folder tree under include/ParvaneU/<dest>; `detail` folders hold
# what only the library's own sources include and stay out. A folder that does not exist yet
# (a subsystem still to come) is skipped.
function(parvaneu_install_headers dir dest)
  if(IS_DIRECTORY ${dir})
    install(DIRECTORY ${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ParvaneU/${dest}
      FILES_MATCHING PATTERN "*.h" PATTERN "detail" EXCLUDE)
  endif()
endfunction()

# Collects the sources of a layer: every .cpp under the given folders, so that adding a class
# means adding its two files and nothing else.
function(parvaneu_collect_sources out)
  set(all)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
    list(APPEND all ${found})
  endforeach()
  set(${out} ${all} PARENT_SCOPE)
endfunction()

# Calls `callback(name sources)` for every sub-folder of `root` holding .cpp files: one program
# per folder, so a suite grows by adding files.
macro(parvaneu_for_each_suite root callback)
  file(GLOB _suite_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${root}/*)
  foreach(_suite_dir IN LISTS _suite_dirs)
    if(IS_DIRECTORY ${_suite_dir})
      get_filename_component(_suite_name ${_suite_dir} NAME)
      file(GLOB _suite_srcs CONFIGURE_DEPENDS ${_suite_dir}/*.cpp)
      if(_suite_srcs)
        cmake_language(CALL ${callback} ${_suite_name} "${_suite_srcs}")
      endif()
    endif()
  endforeach()
endmacro()

# A program installed to bin/ beside the libraries.
function(parvaneu_install_tool target)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${PARVANEU_BIN_TO_LIB}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
