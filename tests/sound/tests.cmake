# The fuzz target of the sound streams.
korvelan_fuzz_target(sound_streams_fuzzer ${CMAKE_CURRENT_LIST_DIR}/sound_streams_fuzzer.cpp korvelan_models)
