# The fuzz targets of the sound streams and of the sound engine's
# open-and-decode path.
korvelan_fuzz_target(sound_streams_fuzzer ${CMAKE_CURRENT_LIST_DIR}/sound_streams_fuzzer.cpp korvelan_models)
korvelan_fuzz_target(audio_fuzzer ${CMAKE_CURRENT_LIST_DIR}/audio_fuzzer.cpp korvelan_sound_engine korvelan_audio)
# The engine's own tests reach into it beyond the interface.
target_link_libraries(sound_tests PRIVATE korvelan_sound_engine)
