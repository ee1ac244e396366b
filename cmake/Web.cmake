# The browser build (WebAssembly with Qt for the browser; tools/web configures it).
# Included from the top-level CMakeLists.txt only when building with emscripten.
#
# Qt's finalizer makes tivoro.js, tivoro.wasm and qtloader.js, and the link tivoro.data: the
# gif/ and suoni/ folders and Qt's Italian translation preloaded into the browser's in-memory
# file system at the root, which is where the program's folder is there. The site to publish
# is then put together in sito/ (cmake/Sito.cmake): the page, the web app's manifest and
# icons, its service worker, and the program's files in a folder named by their content.
qt_finalize_target(tivoro)

# There is no loading of libraries in the browser: the sound player is linked in (the
# module's target is a static library here) and LettoreQt creates it directly.
target_link_libraries(tivoro PRIVATE tivoro_suoni)

# The windows as windows in the page, at their size and place (not full screen).
target_sources(tivoro PRIVATE ${CMAKE_SOURCE_DIR}/src/web/Pagina.cpp)

# The program's pictures are GIF files: of Qt's image format plugins only that one.
qt_import_plugins(tivoro INCLUDE_BY_TYPE imageformats Qt6::QGifPlugin)

# What a first visit downloads is mostly code: optimised for size, the program and the last
# pass over the whole (binaryen's wasm-opt, which emcc runs at link time, with -Oz).
target_compile_options(tivoro_core PRIVATE -Os)
target_compile_options(tivoro_suoni PRIVATE -Os)
target_compile_options(tivoro PRIVATE -Os)
target_link_options(tivoro PRIVATE -Oz)

foreach(dir gif suoni)
  target_link_options(tivoro PRIVATE "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/assets/${dir}@/${dir}")
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/${dir}/*)
  set_property(TARGET tivoro APPEND PROPERTY LINK_DEPENDS ${files})
endforeach()

# The buttons of the message boxes ("Sì", "No") and the answer box's context menu in
# Italian: Qt's translation from the host's Qt (Debian's qt6-translations-l10n), cut to the
# parts of Qt that the program shows (a tenth of it), beside the program.
find_file(TIVORO_QTBASE_IT qtbase_it.qm
  PATHS ${QT_HOST_PATH}/share/qt6/translations /usr/share/qt6/translations NO_DEFAULT_PATH
  NO_CMAKE_FIND_ROOT_PATH)
find_program(TIVORO_LCONVERT lconvert PATHS ${QT_HOST_PATH}/lib/qt6/bin /usr/lib/qt6/bin
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT TIVORO_QTBASE_IT OR NOT TIVORO_LCONVERT)
  message(FATAL_ERROR "qtbase_it.qm or lconvert not found: install qt6-translations-l10n and qt6-l10n-tools")
endif()
set(TIVORO_TRADUZIONE ${CMAKE_BINARY_DIR}/traduzione/qtbase_it.qm)
add_custom_command(OUTPUT ${TIVORO_TRADUZIONE}
  COMMAND ${CMAKE_COMMAND} -DLCONVERT=${TIVORO_LCONVERT} -DINGRESSO=${TIVORO_QTBASE_IT}
          -DUSCITA=${TIVORO_TRADUZIONE} -P ${CMAKE_SOURCE_DIR}/cmake/Traduzione.cmake
  DEPENDS ${TIVORO_QTBASE_IT} ${CMAKE_SOURCE_DIR}/cmake/Traduzione.cmake
  COMMENT "Cutting Qt's Italian translation to what the program shows" VERBATIM)
add_custom_target(tivoro_traduzione DEPENDS ${TIVORO_TRADUZIONE})
add_dependencies(tivoro tivoro_traduzione)
target_link_options(tivoro PRIVATE "SHELL:--preload-file ${TIVORO_TRADUZIONE}@/translations/qtbase_it.qm")
set_property(TARGET tivoro APPEND PROPERTY LINK_DEPENDS ${TIVORO_TRADUZIONE})

# The site: build-web/sito/ is what a web server publishes.
file(GLOB TIVORO_ICONE_WEB ${CMAKE_SOURCE_DIR}/assets/icone/tivoro-192.png
     ${CMAKE_SOURCE_DIR}/assets/icone/tivoro-512.png ${CMAKE_SOURCE_DIR}/assets/icone/tivoro-maskable.png)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/sito/sw.js
  COMMAND ${CMAKE_COMMAND} -DPROGRAMMA=${CMAKE_BINARY_DIR} -DPAGINA=${CMAKE_SOURCE_DIR}/src/web
          -DSITO=${CMAKE_BINARY_DIR}/sito "-DICONE=${TIVORO_ICONE_WEB}"
          -P ${CMAKE_SOURCE_DIR}/cmake/Sito.cmake
  DEPENDS tivoro ${CMAKE_SOURCE_DIR}/cmake/Sito.cmake ${CMAKE_SOURCE_DIR}/src/web/tivoro.html
          ${CMAKE_SOURCE_DIR}/src/web/sw.js ${CMAKE_SOURCE_DIR}/src/web/tivoro.webmanifest
          ${TIVORO_ICONE_WEB}
  COMMENT "Putting the site together in sito/" VERBATIM)
add_custom_target(tivoro_sito ALL DEPENDS ${CMAKE_BINARY_DIR}/sito/sw.js)
