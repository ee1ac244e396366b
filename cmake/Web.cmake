# The browser build (WebAssembly with Qt for the browser; tools/web configures it).
# Included from the top-level CMakeLists.txt only when building with emscripten.
#
# The page gets tivoro.html (our own page, src/web/tivoro.html), tivoro.js, tivoro.wasm and
# qtloader.js from Qt's finalizer, and tivoro.data: the gif/ and suoni/ folders and Qt's
# Italian translation preloaded into the browser's in-memory file system at the root, which
# is where the program's folder is there.
qt_finalize_target(tivoro)
configure_file(${CMAKE_SOURCE_DIR}/src/web/tivoro.html ${CMAKE_BINARY_DIR}/tivoro.html COPYONLY)

# There is no loading of libraries in the browser: the sound player is linked in (the
# module's target is a static library here) and LettoreQt creates it directly.
target_link_libraries(tivoro PRIVATE tivoro_suoni)

# The windows as windows in the page, at their size and place (not full screen).
target_sources(tivoro PRIVATE ${CMAKE_SOURCE_DIR}/src/web/Pagina.cpp)

foreach(dir gif suoni)
  target_link_options(tivoro PRIVATE "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/assets/${dir}@/${dir}")
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/${dir}/*)
  set_property(TARGET tivoro APPEND PROPERTY LINK_DEPENDS ${files})
endforeach()

# The buttons of the message boxes ("Sì", "No") in Italian: Qt's translation from the host's
# Qt (Debian's qt6-translations-l10n), beside the program.
find_file(TIVORO_QTBASE_IT qtbase_it.qm
  PATHS ${QT_HOST_PATH}/share/qt6/translations /usr/share/qt6/translations NO_DEFAULT_PATH
  NO_CMAKE_FIND_ROOT_PATH)
if(NOT TIVORO_QTBASE_IT)
  message(FATAL_ERROR "qtbase_it.qm not found: install qt6-translations-l10n")
endif()
target_link_options(tivoro PRIVATE "SHELL:--preload-file ${TIVORO_QTBASE_IT}@/translations/qtbase_it.qm")
set_property(TARGET tivoro APPEND PROPERTY LINK_DEPENDS ${TIVORO_QTBASE_IT})
