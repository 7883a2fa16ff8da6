# What `cmake --install` lays down: the two programs with their desktop entry,
# icon and manual pages (component Runtime, the station's package), and for
# host programs that embed the module the libraries, the public headers, a
# CMake package and a pkg-config file (component Development).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VYM_INCLUDE_SUBDIR vym)
set(VYM_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/VYMItem)

# The public surface: the service object, the consoles, the record classes and
# the gateway and application-server interfaces, with the few headers they
# include. Everything else stays internal. Each of these compiles on its own
# (the example host's build checks it).
file(GLOB VYM_PUBLIC_HEADERS RELATIVE ${PROJECT_SOURCE_DIR}/src CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/gateway/*.h ${PROJECT_SOURCE_DIR}/src/model/*.h)
list(APPEND VYM_PUBLIC_HEADERS
     base/currency.h base/date.h base/prompter.h base/refusal.h base/value.h
     console/item.h serials/serial.h
     host/console_binding.h host/frm_pick_list.h host/item_enums.h host/package_price_request.h
     host/plug_in_registry.h host/row_conflict.h host/screen_context.h
     host/screen_registry.h host/vym_interface.h
     server/local_app_server.h server/procedure_catalog.h server/procedure_context.h
     server/sql_engine.h server/sql_session.h server/sql_statement.h
     service/citem_maint.h)
foreach(header IN LISTS VYM_PUBLIC_HEADERS)
    get_filename_component(folder ${header} DIRECTORY)
    install(FILES src/${header}
            DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${VYM_INCLUDE_SUBDIR}/${folder}
            COMPONENT Development)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/generated/vym/version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${VYM_INCLUDE_SUBDIR}/vym COMPONENT Development)

install(TARGETS vymcore vymserver vymitem EXPORT VYMItemTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${VYM_INCLUDE_SUBDIR})
install(EXPORT VYMItemTargets NAMESPACE VYMItem:: DESTINATION ${VYM_CMAKE_DIR}
        COMPONENT Development)
configure_package_config_file(cmake/VYMItemConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/VYMItemConfig.cmake
                              INSTALL_DESTINATION ${VYM_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/VYMItemConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/VYMItemConfig.cmake
              ${CMAKE_BINARY_DIR}/VYMItemConfigVersion.cmake
        DESTINATION ${VYM_CMAKE_DIR} COMPONENT Development)
# Relative to the file itself, so that the package can be installed anywhere.
file(RELATIVE_PATH VYM_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(cmake/vymitem.pc.in ${CMAKE_BINARY_DIR}/vymitem.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/vymitem.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)

install(TARGETS vym-backoffice vym-sql RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT Runtime)
install(FILES packaging/vym-backoffice.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT Runtime)
install(FILES packaging/vym-backoffice.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT Runtime)
foreach(page vym-backoffice.1 vym-sql.1)
    install(FILES packaging/${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime)
endforeach()

# The station's Debian package: the programs only; their library
# dependencies are read off the binaries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vymitem)
set(CPACK_PACKAGE_VENDOR "VYMItem developers")
set(CPACK_PACKAGE_CONTACT "VYMItem developers <vymitem@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME vymitem)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts for the screens' text and symbols, and the platform plugins Qt draws through.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-qpa-plugins")
include(CPack)
