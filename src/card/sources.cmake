set(GLIMMER_CARD_SOURCES)
include(${CMAKE_CURRENT_LIST_DIR}/charts.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/panel.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/stockcard.cmake)
