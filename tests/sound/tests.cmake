# The fuzz target of the sound streams: built with clang and libFuzzer only
# in a build made with KORVELAN_FUZZ (scripts/fuzz.sh).
if(KORVELAN_FUZZ)
  add_executable(sound_streams_fuzzer ${CMAKE_CURRENT_LIST_DIR}/sound_streams_fuzzer.cpp)
  target_link_libraries(sound_streams_fuzzer PRIVATE korvelan_models)
  target_compile_options(sound_streams_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(sound_streams_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
endif()
