# The fuzz target of the data files.
korvelan_fuzz_target(data_fuzzer ${CMAKE_CURRENT_LIST_DIR}/data_fuzzer.cpp korvelan_data)
