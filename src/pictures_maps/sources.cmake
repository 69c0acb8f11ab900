# The distribution areas are parsed while the database loads and every
# filter holds one, so they belong to the data library.
target_sources(korvelan_data PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/areas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/areas_bolivia_etc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/areas_country.cpp
  ${CMAKE_CURRENT_LIST_DIR}/areas_tropical_asia.cpp
)

# Pictures: bitmap and JPEG loading, the small-picture cache and the big
# picture window.
find_package(JPEG REQUIRED)

target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/bitmap_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/big_picture_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picture_paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picture_resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/small_pictures.cpp
)
target_link_libraries(korvelan_models PUBLIC JPEG::JPEG)

# Window files.
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/big_picture_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picture_info_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picture_list_actions.cpp
)

# Map data, projection, distribution drawing and the contour fill.
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/area_seed_points.cpp
  ${CMAKE_CURRENT_LIST_DIR}/base_map_choice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/contour_fill.cpp
  ${CMAKE_CURRENT_LIST_DIR}/localities_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_table.cpp
)
# The base maps and contour maps, looked up by their resource names.
target_sources(korvelan_resources PRIVATE ${PROJECT_SOURCE_DIR}/resources/maps.qrc)

# The map windows, the localities map and the area selection frames.
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/localities_map_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_form.cpp
  # Its site-description pages open in the program's browser window.
  ${CMAKE_CURRENT_LIST_DIR}/map_texts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/select_area_frame.cpp
)
