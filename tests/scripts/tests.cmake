# The layer check itself: it must fail on a planted wrong include.
add_test(NAME check_layers_catches_planted_includes
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_layers_test.sh ${PROJECT_SOURCE_DIR})
