# The fuzz targets of the three picture loaders.
foreach(target lzw_fuzzer bitmap_fuzzer jpeg_fuzzer)
  korvelan_fuzz_target(${target} ${CMAKE_CURRENT_LIST_DIR}/${target}.cpp korvelan_models)
endforeach()
