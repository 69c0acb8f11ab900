# Writes the starting settings file only when the user has none yet.
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS "${TARGET}")
  configure_file("${SOURCE}" "${TARGET}" @ONLY)
endif()
