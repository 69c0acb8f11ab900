# The sound engine: FFmpeg decoding, SDL output, libcdio for audio CDs,
# libavfilter for slowed, lowered and band-filtered listening. It is
# a module of its own, loaded at its first use (media_control.cpp): linked
# into the program, its libraries would be loaded and set up before main.
find_package(PkgConfig REQUIRED)
pkg_check_modules(KORVELAN_AUDIO_DEPS REQUIRED IMPORTED_TARGET
  libavformat libavcodec libavutil libswresample libavfilter sdl2 libcdio)
add_library(korvelan_sound_engine SHARED)
target_sources(korvelan_sound_engine PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/cd_disc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/listening_stage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mono_decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg_frames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playback.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_source.h
)
# Only the interface's header comes from korvelan_audio; nothing of it is
# linked into the module.
target_link_libraries(korvelan_sound_engine PRIVATE korvelan_audio PkgConfig::KORVELAN_AUDIO_DEPS)
# Laid out as installed: lib/korvelan beside bin.
set_target_properties(korvelan_sound_engine PROPERTIES
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib/korvelan)
install(TARGETS korvelan_sound_engine LIBRARY DESTINATION lib/korvelan)

# What the program links: the engine's interface and the loader of its module.
target_sources(korvelan_audio PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/media_control.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg_frame_header.h
)
target_compile_definitions(korvelan_audio PRIVATE
  KORVELAN_SOUND_ENGINE_FILE_NAME="$<TARGET_FILE_NAME:korvelan_sound_engine>"
  KORVELAN_SOUND_ENGINE_BUILD_PATH="$<TARGET_FILE:korvelan_sound_engine>")
