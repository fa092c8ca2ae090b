include(CMakePackageConfigHelpers)
install(EXPORT ParvaneUTargets NAMESPACE ParvaneU:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ParvaneU)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/ParvaneUConfig.cmake
"include(CMakeFindDependencyMacro)\nfind_dependency(Threads)\ninclude(\${CMAKE_CURRENT_LIST_DIR}/ParvaneUTargets.cmake)\n")
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ParvaneUConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ParvaneUConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/ParvaneUConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ParvaneU)
