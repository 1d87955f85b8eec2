set(GLIMMER_MARKET_TESTS)
include(${CMAKE_CURRENT_LIST_DIR}/client_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/series_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/store_tests.cmake)
