# Tells the desktop about the new file type and menu entry after an install into a live
# prefix. A package build (DESTDIR set) leaves this to the package manager's triggers, and
# a missing tool is no failure: the files are in place and the next refresh finds them.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
endif()
foreach(step "update-mime-database;mime" "update-desktop-database;applications")
    list(GET step 0 tool)
    list(GET step 1 folder)
    find_program(tool_path ${tool})
    if(tool_path)
        execute_process(COMMAND ${tool_path} "${VELTYPING_DATADIR}/${folder}"
                        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
        if(NOT result EQUAL 0)
            message(STATUS "${tool} failed (${result}); the desktop may need a new login")
        endif()
    endif()
    unset(tool_path CACHE)
    unset(tool_path)
endforeach()
