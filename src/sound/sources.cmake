# Sound: recordings held in memory (WAV and MP3 streams, ID3 tags).
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/sound_memory_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_memory_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mp3_memory_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/id3_tag.cpp
)
