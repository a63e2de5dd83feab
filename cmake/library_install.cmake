# The core as an installed library: libvormel.a, the public headers, a CMake package
# (find_package(Vormel) gives Vormel::vormel) and a pkg-config file (vormel.pc). They are the
# component Development, which the Debian package leaves out (it holds the programs and the module).
include(CMakePackageConfigHelpers)
set_target_properties(vormel_core PROPERTIES OUTPUT_NAME vormel EXPORT_NAME vormel)
set(VORMEL_EXPORTED_TARGETS vormel_core)
if(TARGET vormel_solver)
  # The solver's static archives: a consumer links them by their paths on this system.
  set_target_properties(vormel_solver PROPERTIES EXPORT_NAME solver)
  list(APPEND VORMEL_EXPORTED_TARGETS vormel_solver)
endif()
set(VORMEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vormel)
install(TARGETS ${VORMEL_EXPORTED_TARGETS} EXPORT VormelTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/vormel DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development)
install(EXPORT VormelTargets NAMESPACE Vormel:: DESTINATION ${VORMEL_CMAKE_DIR} COMPONENT Development)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/VormelConfig.cmake.in ${CMAKE_BINARY_DIR}/VormelConfig.cmake
                              INSTALL_DESTINATION ${VORMEL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/VormelConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/VormelConfig.cmake ${CMAKE_BINARY_DIR}/VormelConfigVersion.cmake
        DESTINATION ${VORMEL_CMAKE_DIR} COMPONENT Development)
configure_file(${CMAKE_SOURCE_DIR}/cmake/vormel.pc.in ${CMAKE_BINARY_DIR}/vormel.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/vormel.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)
