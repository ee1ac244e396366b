# The browser build (WebAssembly with Qt for the browser; tools/web configures it).
# Included from the top-level CMakeLists.txt only when building with emscripten.
#
# The page gets tivoro.html, tivoro.js, tivoro.wasm and qtloader.js from Qt's finalizer, and
# tivoro.data: the gif/ and suoni/ folders preloaded into the browser's in-memory file
# system at the root, which is where the program's folder is there.
qt_finalize_target(tivoro)

foreach(dir gif suoni)
  target_link_options(tivoro PRIVATE "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/assets/${dir}@/${dir}")
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/${dir}/*)
  set_property(TARGET tivoro APPEND PROPERTY LINK_DEPENDS ${files})
endforeach()
