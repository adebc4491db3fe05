# Run at build time: the telephony layers must not reach the window toolkit. The targets there
# link Qt Core (and Network) only; this also refuses a header path that would slip past that.
file(GLOB_RECURSE sources ${ROOT}/telephony/*.h ${ROOT}/telephony/*.cpp)
foreach(f ${sources})
    file(STRINGS ${f} hits REGEX "#[ \t]*include[ \t]*[<\"](QtWidgets|QtGui|QtPrintSupport|QWidget|QDialog|QMessageBox|QApplication|QPrinter)")
    if(hits)
        message(FATAL_ERROR "${f}: the telephony layers may not include the window toolkit: ${hits}")
    endif()
endforeach()
file(WRITE ${STAMP} "ok\n")
