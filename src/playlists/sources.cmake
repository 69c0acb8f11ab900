# Playlists: MP3 copies, the user-files folder and "Make mp3s".
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/user_files_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mp3_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_tag_texts.h
  ${CMAKE_CURRENT_LIST_DIR}/mp3_copy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/make_all_mp3s.cpp
)
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/make_all_mp3_files_form.cpp
)

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
  ${CMAKE_CURRENT_LIST_DIR}/audio_cd_preparation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_recordings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_bar_drag.cpp
)
# Window files; the show windows and the menu commands make widgets too.
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/big_picture_demo_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/demo_settings_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/play_sound_options_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playlist_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recordings_list_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shows_menu_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_bar_show_recording.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sounds_show_window.cpp
)
