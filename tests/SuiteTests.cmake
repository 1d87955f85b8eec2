# One ctest test per test suite of a gtest program: a process per single test spent more time
# starting programs than testing, a process per program would hide which group failed.
#
# glimmer_add_suite_tests(TARGET LABEL [ENVIRONMENT...]) lists the program's suites after each
# build and registers each as a test named after the suite.
function(glimmer_add_suite_tests target label)
  set(listing "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DOUTPUT=${listing} -DLABEL=${label}
            "-DENVIRONMENT=${ARGN}" -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/SuiteListing.cmake
    BYPRODUCTS ${listing} VERBATIM)
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${listing})
endfunction()
