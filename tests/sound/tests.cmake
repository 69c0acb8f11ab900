# The fuzz target of the sound engine's open-and-decode path, built with
# clang and libFuzzer only in a build made with KORVELAN_FUZZ (scripts/fuzz.sh).
if(KORVELAN_FUZZ)
  add_executable(audio_fuzzer ${CMAKE_CURRENT_LIST_DIR}/audio_fuzzer.cpp)
  target_link_libraries(audio_fuzzer PRIVATE korvelan_audio)
  target_compile_options(audio_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(audio_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
endif()
