add_library(glimmer_simmarket STATIC
  ${CMAKE_CURRENT_LIST_DIR}/MarketModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MarketModel.h
  ${CMAKE_CURRENT_LIST_DIR}/Replies.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Replies.h
  ${CMAKE_CURRENT_LIST_DIR}/SimFault.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SimFault.h
  ${CMAKE_CURRENT_LIST_DIR}/SimMarket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SimMarket.h
  ${CMAKE_CURRENT_LIST_DIR}/SimMarketControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Universe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Universe.h
)
# Headers are included as "simmarket/SimMarket.h".
target_include_directories(glimmer_simmarket PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(glimmer_simmarket PUBLIC glimmer_core glimmer_test_doubles PkgConfig::HTTPLIB Threads::Threads)
if(Iconv_FOUND AND NOT Iconv_IS_BUILT_IN)
  target_link_libraries(glimmer_simmarket PRIVATE Iconv::Iconv)
endif()

add_executable(glimmer-simmarket ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(glimmer-simmarket PRIVATE glimmer_simmarket)
set_target_properties(glimmer-simmarket PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
