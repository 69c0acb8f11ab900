# The picture routines and windows: one GoogleTest program, one QtTest
# program per widget test; and the fuzz targets of the three loaders, built
# with clang and libFuzzer only in a build made with KORVELAN_FUZZ.
korvelan_test_folder(pictures_maps LIBS korvelan_windows)

if(KORVELAN_FUZZ)
  foreach(target lzw_fuzzer bitmap_fuzzer jpeg_fuzzer)
    add_executable(${target} ${CMAKE_CURRENT_LIST_DIR}/${target}.cpp)
    target_link_libraries(${target} PRIVATE korvelan_models)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
  endforeach()
endif()
