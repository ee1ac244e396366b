# Cuts Qt's translation to the parts of Qt that the program shows (cmake/Web.cmake runs it):
#   cmake -DLCONVERT=... -DINGRESSO=qtbase_it.qm -DUSCITA=out.qm -P Traduzione.cmake
# The whole file translates every dialog, database driver and network error of Qt; the
# browser build shows only message boxes (their buttons come from QPlatformTheme), the
# answer box's context menu and the key names of shortcuts.
cmake_minimum_required(VERSION 3.21)
set(contesti QPlatformTheme QMessageBox QDialogButtonBox QDialog QLineEdit QWidgetTextControl
  QUnicodeControlCharacterMenu QShortcut QGuiApplication QApplication QCoreApplication
  QWidget QAccessibleActionInterface)

get_filename_component(cartella ${USCITA} DIRECTORY)
file(MAKE_DIRECTORY ${cartella})
execute_process(COMMAND ${LCONVERT} -i ${INGRESSO} -o ${USCITA}.tutto.ts RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "lconvert could not read ${INGRESSO}")
endif()
file(READ ${USCITA}.tutto.ts testo)
string(FIND "${testo}" "<context>" inizio)
string(SUBSTRING "${testo}" 0 ${inizio} ridotto)
set(tenuti 0)
while(NOT inizio EQUAL -1)
  string(SUBSTRING "${testo}" ${inizio} -1 resto)
  string(FIND "${resto}" "</context>" fine)
  math(EXPR fine "${fine} + 10")
  string(SUBSTRING "${resto}" 0 ${fine} blocco)
  string(REGEX MATCH "<name>([^<]*)</name>" _ "${blocco}")
  if(CMAKE_MATCH_1 IN_LIST contesti)
    string(APPEND ridotto "${blocco}\n")
    math(EXPR tenuti "${tenuti} + 1")
  endif()
  string(SUBSTRING "${resto}" ${fine} -1 resto)
  string(FIND "${resto}" "<context>" dopo)
  if(dopo EQUAL -1)
    set(inizio -1)
  else()
    math(EXPR inizio "${inizio} + ${fine} + ${dopo}")
  endif()
endwhile()
# The two that matter most must be there: "Sì" and "No" of the questions.
if(NOT ridotto MATCHES "<name>QPlatformTheme</name>")
  message(FATAL_ERROR "${INGRESSO} has no QPlatformTheme: not Qt's translation?")
endif()
string(APPEND ridotto "</TS>\n")
file(WRITE ${USCITA}.ts "${ridotto}")
execute_process(COMMAND ${LCONVERT} -i ${USCITA}.ts -o ${USCITA} RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "lconvert could not write ${USCITA}")
endif()
file(REMOVE ${USCITA}.tutto.ts)
