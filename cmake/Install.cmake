# `cmake --install`: the public headers, the import library, the DLL with the MinGW C++
# runtime DLLs it shares with its host, and a package configuration for
# find_package(VelmoraBase) + target_link_libraries(app VelmoraBase::VelmoraBase).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS VelmoraBase EXPORT VelmoraBaseTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The runtime DLLs come from the toolchain that built the library; hosts must use the same one.
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                  OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${runtime_path}" OR NOT EXISTS "${runtime_path}")
    message(FATAL_ERROR "the toolchain has no ${runtime}")
  endif()
  install(FILES ${runtime_path} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

set(VELMORA_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/VelmoraBase)
install(EXPORT VelmoraBaseTargets NAMESPACE VelmoraBase:: DESTINATION ${VELMORA_CONFIG_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/VelmoraBaseConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/VelmoraBaseConfig.cmake
                              INSTALL_DESTINATION ${VELMORA_CONFIG_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/VelmoraBaseConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/VelmoraBaseConfig.cmake
              ${CMAKE_BINARY_DIR}/VelmoraBaseConfigVersion.cmake
        DESTINATION ${VELMORA_CONFIG_DIR})
