# Copy to hard disk and the options dialog: the copy thread, the space measurement and the command
# run without windows, as do the options' rules; the waiting, progress and directory windows show them.
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/copy_files_thread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_to_hard_disk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/needed_disk_space.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/path_shortening.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_message_while_executing.cpp
)
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/audio_cds_settings_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_to_hard_disk_ui.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_settings_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/name_settings_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_settings_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/select_area_for_options_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_while_copying_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_while_executing_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/select_copy_directory_dialog.cpp
)
