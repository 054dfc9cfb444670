# Puts the styles, the page's script (its files joined in the order given, in
# one function scope, so that they share their names and leak none) and the
# core (its WebAssembly already inlined by Emscripten) into the page, which
# then needs no other file.
#   cmake -DCORE=deal-core.js -DSOURCE=web -DSCRIPTS="a.js;b.js" -DVERSION=1.1.0
#         -DOUTPUT=page.html -P inline.cmake
cmake_policy(VERSION 3.25)
file(READ ${SOURCE}/explorer.html page)
file(READ ${SOURCE}/explorer.css style)
set(script "'use strict';\n(() => {\n")
# The comments, whole lines of them or after a line's code, and the
# indentation stay in the sources: the page is kept under its 350 KB without
# them. No template string of the script runs over lines, and none holds
# ", //", so no text changes.
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/\n?" "" style "${style}")
string(REGEX REPLACE "\n[ \n]+" "\n" style "${style}")
foreach(part IN LISTS SCRIPTS)
  file(READ ${SOURCE}/script/${part} text)
  string(REGEX REPLACE "\n[ ]*//[^\n]*" "" text "\n${text}")
  string(REGEX REPLACE "([,;{]) +// [^\n]*" "\\1" text "${text}")
  string(REGEX REPLACE "\n[ ]+" "\n" text "${text}")
  string(APPEND script "// ---- ${part}${text}\n")
endforeach()
string(APPEND script "})();\n")
file(READ ${CORE} core)
foreach(part style script core)
  string(FIND "${${part}}" "</" closing)
  if(NOT closing EQUAL -1)
    message(FATAL_ERROR "${part} holds '</', which would end its element in the page")
  endif()
endforeach()
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
string(REPLACE "/*@STYLE@*/" "${style}" page "${page}")
string(REPLACE "/*@CORE@*/" "${core}" page "${page}")
string(REPLACE "/*@SCRIPT@*/" "${script}" page "${page}")
file(WRITE ${OUTPUT}.part "${page}")
file(RENAME ${OUTPUT}.part ${OUTPUT})
