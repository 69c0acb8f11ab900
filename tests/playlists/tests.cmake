korvelan_test_folder(playlists LIBS korvelan_windows)

# The fuzz target of the playlist loader (scripts/fuzz.sh).
if(KORVELAN_FUZZ)
  add_executable(playlist_fuzzer ${CMAKE_CURRENT_LIST_DIR}/playlist_fuzzer.cpp)
  target_include_directories(playlist_fuzzer PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(playlist_fuzzer PRIVATE korvelan_models)
  target_compile_definitions(playlist_fuzzer PRIVATE KORVELAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_compile_options(playlist_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(playlist_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
endif()
