# The fuzz target of the data files: built with clang and libFuzzer only in
# a build made with KORVELAN_FUZZ (scripts/fuzz.sh).
if(KORVELAN_FUZZ)
  add_executable(data_fuzzer ${CMAKE_CURRENT_LIST_DIR}/data_fuzzer.cpp)
  target_link_libraries(data_fuzzer PRIVATE korvelan_data)
  target_compile_options(data_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(data_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
endif()
