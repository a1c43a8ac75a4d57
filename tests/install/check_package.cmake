# cmake -DBUILD_DIR=... -DSCRATCH=... -P check_package.cmake
# Builds the Debian package from the build tree as `cpack --preset package` does and has
# Debian's checker look at it: no error and no warning may remain that is ours to fix.
# Says "lintian is not installed" (the test is then skipped) where it is not.
set(ENV{LC_ALL} C.UTF-8)

find_program(lintian lintian)
if(NOT lintian)
    message(STATUS "lintian is not installed")
    return()
endif()

file(REMOVE_RECURSE "${SCRATCH}")
execute_process(
    COMMAND "${CMAKE_CPACK_COMMAND}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake"
            -B "${SCRATCH}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB debs "${SCRATCH}/*.deb")
list(LENGTH debs count)
if(NOT result EQUAL 0 OR NOT count EQUAL 1)
    message(FATAL_ERROR "cpack failed (${result}):\n${output}")
endif()

execute_process(
    COMMAND "${lintian}" --fail-on error,warning ${debs}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lintian found problems (${result}):\n${output}${errors}")
endif()
message(STATUS "lintian: ${output}")
