# Installation and the Debian package.
#
#   cmake --install build/release --prefix /usr/local
#   (cd build/release && cpack -G DEB)
#
# The programs go to bin, their read-only files (the sample master list and the
# help file) to share/vellumar, the desktop entry, icons and the spellbook file
# type to the places desktops look for them. The program finds share/vellumar
# from its own folder, so any prefix works.
include(GNUInstallDirs)

set(VELLUMAR_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vellumar)
file(RELATIVE_PATH VELLUMAR_BIN_TO_DATA
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/vellumar)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/platform/program_folder.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS VELLUMAR_BIN_TO_DATA="${VELLUMAR_BIN_TO_DATA}")

set(VELLUMAR_READ_ONLY OWNER_READ GROUP_READ WORLD_READ)

install(TARGETS vellumar-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES
    ${CMAKE_SOURCE_DIR}/resources/MASTER.DAT
    ${CMAKE_SOURCE_DIR}/resources/MASTER.README.md
    ${CMAKE_SOURCE_DIR}/resources/Vellumar.HLP
  DESTINATION ${VELLUMAR_DATA_DIR} PERMISSIONS ${VELLUMAR_READ_ONLY})

if(VELLUMAR_GUI)
  install(TARGETS vellumar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/vellumar.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications PERMISSIONS ${VELLUMAR_READ_ONLY})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/vellumar-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME vellumar.xml
    PERMISSIONS ${VELLUMAR_READ_ONLY})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/vellumar.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    PERMISSIONS ${VELLUMAR_READ_ONLY})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/spellbook_file.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
    RENAME application-x-vellumar-spellbook.svg PERMISSIONS ${VELLUMAR_READ_ONLY})
endif()

install(FILES ${CMAKE_SOURCE_DIR}/README.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vellumar PERMISSIONS ${VELLUMAR_READ_ONLY})

# The Debian package. Library dependencies come from dpkg-shlibdeps; the Qt
# plug-ins are loaded at run time, so their packages are named here: the
# window-system plug-ins (qt6-qpa-plugins) and the SVG icon engine (libqt6svg6)
# that draws every picture of the program.
set(CPACK_PACKAGE_NAME vellumar)
set(CPACK_PACKAGE_VENDOR "Vellumar")
set(CPACK_PACKAGE_CONTACT "Vellumar maintainers <vellumar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wizard spellbook keeper for tabletop role-playing games")
set(CPACK_PACKAGE_DESCRIPTION
  "Vellumar fills wizard spellbooks at random from a master spell list, following the\n"
  "caster's level, Intelligence and specialty and the rarity of each spell, and lets\n"
  "players and game masters edit, print and save them. A sample master list with the\n"
  "wizard spells of the SRD 5.1 is included. vellumar-cli makes books from scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
