# Window files of the list that need the sound players: the recording buttons.
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/sound_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_bar.h
)
