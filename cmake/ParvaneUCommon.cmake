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
install(TARGETS parvaneu_flags EXPORT ParvaneUTargets)

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
