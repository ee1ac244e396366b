# Desktop integration and the Debian package.
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK ../${TIVORO_INSTALL_DIR}/tivoro
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tivoro\" SYMBOLIC)
")
install(FILES packaging/org.example.tivoro.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The release named in the metainfo is the version of project().
configure_file(packaging/org.example.tivoro.metainfo.xml.in org.example.tivoro.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.example.tivoro.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES assets/icone/tivoro-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME tivoro.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tivoro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Progetto Tivoro <info@tivoro.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arithmetic exercises for young children, in Italian")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt Multimedia is loaded with the first sound, not linked, so shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6multimedia6, fonts-liberation2, qt6-translations-l10n, qt6-qpa-plugins")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
