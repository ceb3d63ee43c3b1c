# Where an installed program lies, and its Debian package.
#
# The program finds its libraries and its help file beside itself, so they share one program
# folder; the PATH gets links to the two programs, the desktop its entry and icons.
include(GNUInstallDirs)

set(brevane_program_folder ${CMAKE_INSTALL_LIBDIR}/brevane)
install(TARGETS TarvonSCP tarvonscp-cli RUNTIME DESTINATION ${brevane_program_folder})
install(TARGETS ftp zel4 LIBRARY DESTINATION ${brevane_program_folder})
# The help file, where the build made one.
install(FILES ${CMAKE_BINARY_DIR}/bin/Brevane.chm DESTINATION ${brevane_program_folder}
        OPTIONAL)
foreach(program TarvonSCP tarvonscp-cli)
    install(CODE "
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(CREATE_LINK \"../${brevane_program_folder}/${program}\"
             \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\" SYMBOLIC)")
endforeach()

set(brevane_data ${PROJECT_SOURCE_DIR}/data)
install(FILES ${brevane_data}/brevane-project-manager.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${brevane_data}/brevane-project-manager.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/src/ui/images/icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME brevane-project-manager.svg)
# The PNG sizes are rendered from the same SVG.
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${brevane_data}/icons/${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME brevane-project-manager.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brevane-project-manager)
set(CPACK_PACKAGE_VENDOR Quilldrake)
set(CPACK_PACKAGE_CONTACT "Quilldrake <support@quilldrake.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Prepare and try out the automatic updating of your product")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Keeps an update project (script URL, paths, FTP settings, files to upload) in an XML file, "
    "tests the update script, switches the update service and uploads by FTP, FTPS or SFTP.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The libraries the binaries need are read from the binaries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
# Opening files and the help needs the desktop's opener and a CHM viewer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, xchm")
include(CPack)
