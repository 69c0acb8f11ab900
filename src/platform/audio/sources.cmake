# The sound engine: FFmpeg decoding, SDL output, libcdio for audio CDs.
find_package(PkgConfig REQUIRED)
pkg_check_modules(KORVELAN_AUDIO_DEPS REQUIRED IMPORTED_TARGET
  libavformat libavcodec libavutil libswresample sdl2 libcdio)
target_sources(korvelan_audio PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/cd_disc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg_frames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playback.cpp
  ${CMAKE_CURRENT_LIST_DIR}/media_control.h
  ${CMAKE_CURRENT_LIST_DIR}/sound_source.h
)
target_link_libraries(korvelan_audio PRIVATE PkgConfig::KORVELAN_AUDIO_DEPS)
