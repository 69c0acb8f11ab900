# The program's file formats: the sectioned text files, the data files and
# the LZW compressed files.
target_sources(korvelan_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/datafile_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzw_compression.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzw_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textfile.cpp
)
