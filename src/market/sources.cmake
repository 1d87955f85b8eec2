# The market layer is listed in three groups: the client and snapshot/search sources, the series
# sources, and the store with its queue.
set(GLIMMER_MARKET_SOURCES)
include(${CMAKE_CURRENT_LIST_DIR}/client.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/series.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/store.cmake)
