# Pictures: bitmap and JPEG loading, the small-picture cache and the big
# picture window. (The distribution areas are part of the data library.)
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
