# Playlists: MP3 copies, the user-files folder and "Make mp3s".
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/user_files_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mp3_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_tag_texts.h
  ${CMAKE_CURRENT_LIST_DIR}/mp3_copy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/make_all_mp3s.cpp
)
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/make_all_mp3_files_form.cpp
)
