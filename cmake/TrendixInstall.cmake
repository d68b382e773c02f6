# The installed package: headers under include/trendix, the libraries, and a package config
# so that a host writes find_package(Trendix REQUIRED) and links Trendix::Core (no Qt) or
# Trendix::Widget (the Qt widget and the pictures of the front).
include(CMakePackageConfigHelpers)

set(trendix_config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Trendix)
# The static layers under the front go with it: Trendix::Core links them for the host.
set(trendix_core_targets trendix_platform trendix_render trendix_model trendix_annot
                         trendix_pages trendix_control trendix_front)

install(TARGETS ${trendix_core_targets} EXPORT TrendixCoreTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT TrendixCoreTargets NAMESPACE Trendix:: DESTINATION ${trendix_config_dir})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/trendix
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

if(TARGET trendix_qt)
  install(TARGETS trendix_qt EXPORT TrendixWidgetTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(EXPORT TrendixWidgetTargets NAMESPACE Trendix:: DESTINATION ${trendix_config_dir})
endif()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TrendixConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/TrendixConfig.cmake
                              INSTALL_DESTINATION ${trendix_config_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TrendixConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TrendixConfig.cmake
              ${PROJECT_BINARY_DIR}/TrendixConfigVersion.cmake
        DESTINATION ${trendix_config_dir})
