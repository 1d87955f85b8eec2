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
  # Until the program is built there is no listing: CTest then reports it as not built.
  set(include "${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake")
  file(WRITE ${include} "if(EXISTS \"${listing}\")\n  include(\"${listing}\")\nelse()\n"
                        "  add_test(${target}_NOT_BUILT ${target}_NOT_BUILT)\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include})
endfunction()
