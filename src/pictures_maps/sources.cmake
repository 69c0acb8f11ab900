# Map data, projection, distribution drawing and the contour fill.
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/area_seed_points.cpp
  ${CMAKE_CURRENT_LIST_DIR}/base_map_choice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/contour_fill.cpp
  ${CMAKE_CURRENT_LIST_DIR}/localities_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_texts.cpp
)
# The base maps and contour maps, looked up by their resource names.
add_library(korvelan_map_resources STATIC ${PROJECT_SOURCE_DIR}/resources/maps.qrc)
target_link_libraries(korvelan_map_resources PUBLIC Qt6::Core)
target_link_libraries(korvelan_models PUBLIC korvelan_map_resources)

# The map windows, the localities map and the area selection frames.
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/localities_map_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/select_area_frame.cpp
)
