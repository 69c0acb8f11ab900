# The program's file formats: the sectioned text files and the data files.
target_sources(korvelan_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/datafile_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textfile.cpp
)
