# The distribution areas are parsed while the database loads and every
# filter holds one, so they belong to the data library.
target_sources(korvelan_data PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/areas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/areas_bolivia_etc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/areas_country.cpp
  ${CMAKE_CURRENT_LIST_DIR}/areas_tropical_asia.cpp
)
