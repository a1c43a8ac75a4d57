# cmake -DBUILD_DIR=... -DPREFIX=... -DBINDIR=... -DDATADIR=... -P check_install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

set(expected
    "${BINDIR}/veltyping"
    "${BINDIR}/velbook"
    "${DATADIR}/applications/veltyping.desktop"
    "${DATADIR}/icons/hicolor/scalable/apps/veltyping.svg"
    "${DATADIR}/veltyping/help/index.html")
foreach(path IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

# The program looks for its help page at ../share/veltyping/help beside its executable.
if(NOT EXISTS "${PREFIX}/${BINDIR}/../share/veltyping/help/index.html")
    message(FATAL_ERROR "the help page is not where the program looks for it")
endif()

file(READ "${PREFIX}/${DATADIR}/applications/veltyping.desktop" desktop)
foreach(line "Exec=veltyping" "Icon=veltyping" "Categories=Education;Languages;")
    string(FIND "${desktop}" "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the desktop entry lacks ${line}")
    endif()
endforeach()

# The installed tool runs on its own.
execute_process(COMMAND "${PREFIX}/${BINDIR}/velbook" --help
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the installed velbook does not run (${result}):\n${output}")
endif()
message(STATUS "installed into ${PREFIX}")
