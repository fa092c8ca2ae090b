# ParvaneU: the controls, one folder per subsystem, built into libParvaneU.so.
set(PARVANEU_PARTS foundation audio scopes spectrum scrollbars controls shell)
set(dirs)
foreach(part IN LISTS PARVANEU_PARTS)
  list(APPEND dirs ${PROJECT_SOURCE_DIR}/${part})
endforeach()
parvaneu_collect_sources(PARVANEU_SOURCES ${dirs})
# The module frame must be the first object linked: its static lifetime object is then built
# before, and destroyed after, every other process-wide object of the library.
list(REMOVE_ITEM PARVANEU_SOURCES ${PROJECT_SOURCE_DIR}/foundation/ModuleFrame.cpp)
list(PREPEND PARVANEU_SOURCES ${PROJECT_SOURCE_DIR}/foundation/ModuleFrame.cpp)

# Module resources: every file in resources/ is embedded and joins the resource chain at load.
include(cmake/EmbedResources.cmake)
parvaneu_embed_resources(PARVANEU_RESOURCE_SOURCE ${PROJECT_SOURCE_DIR}/resources)

# The true-peak filter is straight multiply-add loops; -O2's cheap vectoriser leaves them scalar.
# A precompiled header is only valid at the optimisation level it was made with.
set_source_files_properties(${PROJECT_SOURCE_DIR}/audio/TruePeak.cpp PROPERTIES COMPILE_OPTIONS "-O3"
  SKIP_PRECOMPILE_HEADERS ON)

add_library(ParvaneU SHARED ${PARVANEU_SOURCES} ${PARVANEU_RESOURCE_SOURCE} ParvaneU.h)
add_library(ParvaneU::ParvaneU ALIAS ParvaneU)
target_include_directories(ParvaneU PUBLIC
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/ParvaneU>)
# Loudness (BS.1770 / R 128 gating and range) of the level measure.
find_package(PkgConfig REQUIRED)
pkg_check_modules(EBUR128 REQUIRED IMPORTED_TARGET libebur128)
target_link_libraries(ParvaneU PUBLIC KestruneU winport PRIVATE parvaneu_flags PkgConfig::EBUR128)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # Unique symbols would pin the module in memory: a host must be able to unload it.
  target_compile_options(ParvaneU PRIVATE -fno-gnu-unique)
endif()
parvaneu_precompile(ParvaneU)
parvaneu_shared_library(ParvaneU)
install(FILES ParvaneU.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ParvaneU)
foreach(part IN LISTS PARVANEU_PARTS)
  parvaneu_install_headers(${PROJECT_SOURCE_DIR}/${part} ${part})
endforeach()
