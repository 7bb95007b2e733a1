# Installation and the Debian package.
#
#   cmake --install build/release --prefix /usr/local
#   (cd build/release && cpack -G DEB)
#
# The programs go to bin, their own files (the sample master list and the help
# file) to share/vellumar, the desktop entry, AppStream metadata, icons and the
# spellbook file type to the places desktops look for them, the manual pages,
# copyright and changelog where Debian expects them. The program finds
# share/vellumar from its own folder, so any prefix works.
include(GNUInstallDirs)

set(VELLUMAR_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vellumar)
file(RELATIVE_PATH VELLUMAR_BIN_TO_DATA
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/vellumar)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/platform/program_folder.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS VELLUMAR_BIN_TO_DATA="${VELLUMAR_BIN_TO_DATA}")

# Data files as Debian has them: only root, who installed them, may change them.
set(VELLUMAR_DATA_MODE OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# gzip -9n: no name or time stamp inside, so the same source gives the same file.
function(vellumar_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" gzip ${source} ${output}
    DEPENDS ${source} VERBATIM)
endfunction()

set(VELLUMAR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vellumar)
set(VELLUMAR_GENERATED ${CMAKE_BINARY_DIR}/install-files)
set(VELLUMAR_GENERATED_FILES)
foreach(program vellumar vellumar-cli)
  if(TARGET ${program})
    vellumar_gzip(${CMAKE_SOURCE_DIR}/resources/man/${program}.1 ${VELLUMAR_GENERATED}/${program}.1.gz)
    list(APPEND VELLUMAR_GENERATED_FILES ${VELLUMAR_GENERATED}/${program}.1.gz)
    install(FILES ${VELLUMAR_GENERATED}/${program}.1.gz
      DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 PERMISSIONS ${VELLUMAR_DATA_MODE})
  endif()
endforeach()
# A package whose version has no Debian revision is native: its changelog is changelog.gz.
vellumar_gzip(${CMAKE_SOURCE_DIR}/resources/debian/changelog ${VELLUMAR_GENERATED}/changelog.gz)
list(APPEND VELLUMAR_GENERATED_FILES ${VELLUMAR_GENERATED}/changelog.gz)

# PNG icons beside the scalable ones, for desktops and software centres that
# want pixels; drawn from the SVG files at build time.
set(VELLUMAR_ICON_SIZES 16 22 24 32 48 64 128 256)
find_program(RSVG_CONVERT rsvg-convert)
if(TARGET vellumar AND RSVG_CONVERT)
  foreach(icon "apps/vellumar:vellumar" "mimetypes/application-x-vellumar-spellbook:spellbook_file")
    string(REPLACE ":" ";" icon "${icon}")
    list(GET icon 0 installed)
    list(GET icon 1 source)
    foreach(size ${VELLUMAR_ICON_SIZES})
      set(png ${VELLUMAR_GENERATED}/icons/${size}x${size}/${installed}.png)
      get_filename_component(png_dir ${png} DIRECTORY)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${png_dir}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
                ${CMAKE_SOURCE_DIR}/resources/icons/${source}.svg
        DEPENDS ${CMAKE_SOURCE_DIR}/resources/icons/${source}.svg VERBATIM)
      list(APPEND VELLUMAR_GENERATED_FILES ${png})
      get_filename_component(category ${installed} DIRECTORY)
      install(FILES ${png}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/${category}
        PERMISSIONS ${VELLUMAR_DATA_MODE})
    endforeach()
  endforeach()
elseif(TARGET vellumar)
  message(WARNING "rsvg-convert (librsvg2-bin) not found: the PNG icons are not installed")
endif()
add_custom_target(vellumar_install_files ALL DEPENDS ${VELLUMAR_GENERATED_FILES})

install(TARGETS vellumar-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES
    ${CMAKE_SOURCE_DIR}/resources/MASTER.DAT
    ${CMAKE_SOURCE_DIR}/resources/MASTER.DAT.texts.json
    ${CMAKE_SOURCE_DIR}/resources/MASTER.README.md
    ${CMAKE_SOURCE_DIR}/resources/Vellumar.HLP
  DESTINATION ${VELLUMAR_DATA_DIR} PERMISSIONS ${VELLUMAR_DATA_MODE})

if(VELLUMAR_GUI)
  install(TARGETS vellumar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/vellumar.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications PERMISSIONS ${VELLUMAR_DATA_MODE})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/org.vellumar.Vellumar.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo PERMISSIONS ${VELLUMAR_DATA_MODE})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/vellumar-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME vellumar.xml
    PERMISSIONS ${VELLUMAR_DATA_MODE})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/vellumar.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    PERMISSIONS ${VELLUMAR_DATA_MODE})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/spellbook_file.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
    RENAME application-x-vellumar-spellbook.svg PERMISSIONS ${VELLUMAR_DATA_MODE})
endif()

install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/resources/debian/copyright
    ${VELLUMAR_GENERATED}/changelog.gz
  DESTINATION ${VELLUMAR_DOC_DIR} PERMISSIONS ${VELLUMAR_DATA_MODE})

# The Debian package. Library dependencies come from dpkg-shlibdeps; the Qt
# plug-ins are loaded at run time, so their packages are named here: the
# window-system plug-ins (qt6-qpa-plugins) and the SVG icon engine (libqt6svg6)
# that draws every picture of the program.
set(CPACK_PACKAGE_NAME vellumar)
set(CPACK_PACKAGE_VENDOR "Vellumar")
set(CPACK_PACKAGE_CONTACT "Vellumar maintainers <maintainers@vellumar.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wizard spellbook keeper for tabletop role-playing games")
# Lines of at most 80 columns, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
  "Vellumar fills wizard spellbooks at random from a master spell list,\n"
  "following the caster's level, Intelligence and specialty and the rarity\n"
  "of each spell, and lets players and game masters edit, print and save\n"
  "them. A sample master list with the wizard spells of the SRD 5.1 is\n"
  "included. vellumar-cli makes books from scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
