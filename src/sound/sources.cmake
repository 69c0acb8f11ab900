# Players, recording paths, the sound editor and the volume (no widgets).
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/players.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/volume.cpp
)
target_link_libraries(korvelan_models PUBLIC korvelan_audio)
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/volume_control_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/volume_control_form.h
)
