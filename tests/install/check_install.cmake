# cmake -DBUILD_DIR=... -DPREFIX=... -DSTAGING=... -DBINDIR=... -DDATADIR=... -DMANDIR=...
#       -DAPP_ID=... -P check_install.cmake
set(ENV{LC_ALL} C.UTF-8)

function(install_into prefix)
    file(REMOVE_RECURSE "${prefix}")
    execute_process(
        COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
    endif()
endfunction()

function(expect_in file text)
    file(READ "${file}" content)
    string(FIND "${content}" "${text}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${file} lacks \"${text}\"")
    endif()
endfunction()

# Runs a checker; fails on a non-zero exit or, with QUIET, on anything it says on stderr.
function(run_checker)
    cmake_parse_arguments(ARG "QUIET" "" "COMMAND" ${ARGN})
    execute_process(COMMAND ${ARG_COMMAND}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT result EQUAL 0 OR (ARG_QUIET AND NOT errors STREQUAL ""))
        string(JOIN " " command ${ARG_COMMAND})
        message(FATAL_ERROR "${command} failed (${result}):\n${output}${errors}")
    endif()
endfunction()

install_into("${PREFIX}")

set(icon_sizes 16 32 48 64 128 256)
set(expected
    "${BINDIR}/veltyping"
    "${BINDIR}/velbook"
    "${DATADIR}/applications/${APP_ID}.desktop"
    "${DATADIR}/metainfo/${APP_ID}.metainfo.xml"
    "${DATADIR}/mime/packages/${APP_ID}.xml"
    "${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg"
    "${MANDIR}/man1/veltyping.1.gz"
    "${MANDIR}/man1/velbook.1.gz"
    "${MANDIR}/ja/man1/veltyping.1.gz"
    "${MANDIR}/ja/man1/velbook.1.gz"
    "${DATADIR}/doc/veltyping/copyright"
    "${DATADIR}/doc/veltyping/changelog.gz"
    "${DATADIR}/veltyping/help/index.html")
foreach(size IN LISTS icon_sizes)
    list(APPEND expected "${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
endforeach()
foreach(path IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

# The program looks for its help page at ../share/veltyping/help beside its executable.
if(NOT EXISTS "${PREFIX}/${BINDIR}/../share/veltyping/help/index.html")
    message(FATAL_ERROR "the help page is not where the program looks for it")
endif()

set(desktop "${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop")
foreach(line "Exec=veltyping %f" "Icon=${APP_ID}" "Categories=Education;Languages;"
             "MimeType=application/x-veltyping-book;text/csv;text/tab-separated-values;")
    expect_in("${desktop}" "${line}")
endforeach()

find_program(desktop_file_validate desktop-file-validate)
if(desktop_file_validate)
    run_checker(QUIET COMMAND "${desktop_file_validate}" "${desktop}")
endif()
find_program(appstreamcli appstreamcli)
if(appstreamcli)
    run_checker(COMMAND "${appstreamcli}" validate --no-net
                        "${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml")
endif()

# Each icon is a PNG of its own size: the signature, then IHDR's width and height.
foreach(size IN LISTS icon_sizes)
    set(png "${PREFIX}/${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
    file(READ "${png}" header LIMIT 24 HEX)
    math(EXPR side_hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REGEX REPLACE "^0x" "" side_hex "${side_hex}")
    string(LENGTH "${side_hex}" digits)
    math(EXPR padding "8 - ${digits}")
    string(REPEAT "0" ${padding} zeros)
    set(side "${zeros}${side_hex}")
    if(NOT header STREQUAL "89504e470d0a1a0a0000000d49484452${side}${side}")
        message(FATAL_ERROR "${png} is not a ${size}x${size} PNG (${header})")
    endif()
endforeach()

# Both languages' manuals render without a warning.
foreach(page man1/veltyping.1.gz man1/velbook.1.gz ja/man1/veltyping.1.gz ja/man1/velbook.1.gz)
    run_checker(QUIET COMMAND "${CMAKE_COMMAND}" -E env MANWIDTH=80
                              man --warnings -l "${PREFIX}/${MANDIR}/${page}")
endforeach()

# The install told the desktop about the file type and the menu entry, when it could.
find_program(update_mime_database update-mime-database)
if(update_mime_database)
    expect_in("${PREFIX}/${DATADIR}/mime/globs2" "application/x-veltyping-book:*.vel")
endif()
find_program(update_desktop_database update-desktop-database)
if(update_desktop_database)
    expect_in("${PREFIX}/${DATADIR}/applications/mimeinfo.cache"
              "application/x-veltyping-book=${APP_ID}.desktop")
endif()
# A package build installs with DESTDIR and must not ship those caches.
file(REMOVE_RECURSE "${STAGING}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env "DESTDIR=${STAGING}"
            "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix /usr
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR EXISTS "${STAGING}/usr/${DATADIR}/mime/globs2"
   OR EXISTS "${STAGING}/usr/${DATADIR}/applications/mimeinfo.cache")
    message(FATAL_ERROR "an install with DESTDIR failed or refreshed the caches:\n${output}")
endif()

# Both programs answer --help and --version with no display at all; an unknown option or a
# second file is refused with a pointer to --help.
set(no_display --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM)
set(cases
    "veltyping|--help|0|--folder"
    "veltyping|--version|0|ヴェルタイピング for English 4.03"
    "velbook|--help|0|velbook COMMAND"
    "velbook|--version|0|velbook 4.03"
    "veltyping|--no-such-option|1|veltyping --help"
    "veltyping|a.vel b.vel|1|veltyping --help")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 program)
    list(GET fields 1 arguments)
    list(GET fields 2 expected_status)
    list(GET fields 3 expected_text)
    separate_arguments(arguments)
    # A refusal is only made once the window system is up: give it one without a screen.
    set(environment ${no_display})
    if(NOT expected_status EQUAL 0)
        set(environment QT_QPA_PLATFORM=offscreen)
    endif()
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E env ${environment} "${PREFIX}/${BINDIR}/${program}"
                ${arguments}
        TIMEOUT 30 RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    string(FIND "${output}" "${expected_text}" at)
    if(NOT result EQUAL expected_status OR at EQUAL -1)
        message(FATAL_ERROR "${program} ${arguments}: exit ${result}, expected ${expected_status}"
                            " and \"${expected_text}\":\n${output}")
    endif()
endforeach()
message(STATUS "installed into ${PREFIX}")
