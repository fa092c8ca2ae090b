include(CMakePackageConfigHelpers)
install(EXPORT ParvaneUTargets NAMESPACE ParvaneU:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ParvaneU)
configure_file(${PROJECT_SOURCE_DIR}/cmake/ParvaneUConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/ParvaneUConfig.cmake @ONLY)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ParvaneUConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ParvaneUConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/ParvaneUConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ParvaneU)

set(PARVANEU_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH PARVANEU_PC_TO_PREFIX /prefix/${PARVANEU_PC_DIR} /prefix)
string(REGEX REPLACE "/$" "" PARVANEU_PC_TO_PREFIX "${PARVANEU_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/ParvaneU.pc.in ${CMAKE_CURRENT_BINARY_DIR}/ParvaneU.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ParvaneU.pc DESTINATION ${PARVANEU_PC_DIR})
