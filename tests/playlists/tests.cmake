# The fuzz target of the playlist loader.
korvelan_fuzz_target(playlist_fuzzer ${CMAKE_CURRENT_LIST_DIR}/playlist_fuzzer.cpp korvelan_models)
if(TARGET playlist_fuzzer)
  target_compile_definitions(playlist_fuzzer PRIVATE KORVELAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()
