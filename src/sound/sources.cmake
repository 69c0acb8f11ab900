# Sound: recordings held in memory (WAV and MP3 streams, ID3 tags), the
# players, recording paths, the sound editor and the volume; no widgets.
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/sound_memory_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_memory_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mp3_memory_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/id3_tag.cpp
  ${CMAKE_CURRENT_LIST_DIR}/players.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/volume.cpp
)
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/volume_control_form.cpp
)
