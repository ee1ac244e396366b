# Puts the site together (cmake/Web.cmake runs it after each link):
#   cmake -DPROGRAMMA=build-web -DPAGINA=src/web -DSITO=build-web/sito -DICONE="a.png;b.png" -P Sito.cmake
#
#   sito/tivoro.html            the page, naming the folder of its program
#   sito/tivoro-<hash>/         qtloader.js, tivoro.js, tivoro.wasm, tivoro.data
#   sito/sw.js                  the service worker, which stores all of it at the first visit
#   sito/tivoro.webmanifest     the web app's manifest, and its icons in sito/icone/
#
# The program's four files go together (the script knows the wasm's functions and where
# each file lies in the data), so they live in a folder named by a hash of their content:
# a page, however old its copy, always gets the files it was built with, and a new build
# never replaces a file that a page of the old one still asks for.
cmake_minimum_required(VERSION 3.21)
set(programma qtloader.js tivoro.js tivoro.wasm tivoro.data)

# Qt's loader learns whether the browser has WebGL by making a new WebGL context each time it
# asks, four times while the page starts (some 30 ms each where the browser draws without a
# graphics card); it asks once, and the other three read the answer.
file(READ ${PROGRAMMA}/qtloader.js caricatore)
string(REPLACE "&& webGLSupported();" "&& publicAPI.webGLSupported;" caricatore "${caricatore}")
string(REPLACE "if (!webGLSupported())" "if (!publicAPI.webGLSupported)" caricatore "${caricatore}")

set(impronte "")
foreach(f ${programma})
  if(f STREQUAL qtloader.js)
    string(SHA256 h "${caricatore}")
  else()
    file(SHA256 ${PROGRAMMA}/${f} h)
  endif()
  string(APPEND impronte "${h} ${f}\n")
endforeach()
string(SHA256 versione "${impronte}")
string(SUBSTRING ${versione} 0 12 versione)
set(cartella tivoro-${versione})

# The folders of earlier builds go: the site holds one build, as it is to be published.
file(GLOB vecchie LIST_DIRECTORIES true ${SITO}/tivoro-*)
foreach(v ${vecchie})
  if(IS_DIRECTORY ${v} AND NOT v STREQUAL ${SITO}/${cartella})
    file(REMOVE_RECURSE ${v})
  endif()
endforeach()
file(MAKE_DIRECTORY ${SITO}/${cartella} ${SITO}/icone)
foreach(f tivoro.js tivoro.wasm tivoro.data)
  file(COPY_FILE ${PROGRAMMA}/${f} ${SITO}/${cartella}/${f} ONLY_IF_DIFFERENT)
endforeach()
file(WRITE ${SITO}/${cartella}/qtloader.js "${caricatore}")
foreach(f ${ICONE})
  get_filename_component(nome ${f} NAME)
  file(COPY_FILE ${f} ${SITO}/icone/${nome} ONLY_IF_DIFFERENT)
endforeach()
file(COPY_FILE ${PAGINA}/tivoro.webmanifest ${SITO}/tivoro.webmanifest ONLY_IF_DIFFERENT)

file(READ ${PAGINA}/tivoro.html pagina)
string(REPLACE "@TIVORO_PROGRAMMA@" "${cartella}" pagina "${pagina}")
file(WRITE ${SITO}/tivoro.html "${pagina}")

# Every file the page needs, for the service worker to store, relative to the site.
set(elenco "'tivoro.html', 'tivoro.webmanifest'")
foreach(f ${programma})
  string(APPEND elenco ", '${cartella}/${f}'")
endforeach()
foreach(f ${ICONE})
  get_filename_component(nome ${f} NAME)
  string(APPEND elenco ", 'icone/${nome}'")
endforeach()
file(READ ${PAGINA}/sw.js servizio)
string(REPLACE "@TIVORO_VERSIONE@" "${versione}" servizio "${servizio}")
string(REPLACE "@TIVORO_FILE@" "${elenco}" servizio "${servizio}")
file(WRITE ${SITO}/sw.js "${servizio}")
