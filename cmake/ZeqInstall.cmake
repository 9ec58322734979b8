# Installation and the CMake package, so that other projects can find_package(zeq).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZEQ_INSTALLED_LIBRARIES zeq)
if(ZEQ_BUILD_SHARED)
  list(APPEND ZEQ_INSTALLED_LIBRARIES zeq_shared)
endif()
install(TARGETS ${ZEQ_INSTALLED_LIBRARIES} EXPORT zeqTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# Only the public headers: private helpers live in internal/ folders and test helpers in
# zeq/testing/, and neither is installed (.ci/run checks that no installed header needs them).
install(DIRECTORY zeq/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zeq
  FILES_MATCHING PATTERN "*.h"
  PATTERN "internal" EXCLUDE
  PATTERN "testing" EXCLUDE
  PATTERN "testdata" EXCLUDE)
install(FILES ${PROJECT_BINARY_DIR}/include/zeq/version.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zeq)
install(EXPORT zeqTargets NAMESPACE zeq:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zeq)

configure_package_config_file(cmake/zeqConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/zeqConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zeq)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/zeqConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zeqConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/zeqConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zeq)

# pkg-config: the prefix is found relative to the .pc file, so that the installed tree can be
# moved (and `cmake --install --prefix` works after configuring).
file(RELATIVE_PATH ZEQ_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/zeq.pc.in ${CMAKE_CURRENT_BINARY_DIR}/zeq.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zeq.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
