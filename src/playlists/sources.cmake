# Playlists and shows: the playlist file and list, the show logic (models)
# and the windows over them.
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/between_sounds_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_snapshot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playlist.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playlist_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playlist_folders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recent_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_choices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_steps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/slide_show.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sounds_show.cpp
)
target_sources(korvelan_windows PRIVATE
)
