# app/ holds both ends of the program. Its foundation (process values,
# settings, messages, editions, the file, font, memory and parsing helpers,
# the base directory) sits in the core library, under the file formats and
# the database that use it; start-up
# runs the event loop and shows the main window, so it sits with the
# windows; program.cpp wires the windows together and main.cpp makes it.
target_sources(korvelan_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/base_directory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/external_programs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/font_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/globals.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/memory_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/numbers.h
  ${CMAKE_CURRENT_LIST_DIR}/parsing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_location.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_audio_cds.h
  ${CMAKE_CURRENT_LIST_DIR}/settings_between_sounds.h
  ${CMAKE_CURRENT_LIST_DIR}/settings_general.h
  ${CMAKE_CURRENT_LIST_DIR}/settings_playlists.h
  ${CMAKE_CURRENT_LIST_DIR}/settings_show.h
  ${CMAKE_CURRENT_LIST_DIR}/settings_window.h
)
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/first_paint_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
)
# The program object wires the windows together; main.cpp only makes it.
target_sources(korvelan_program PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/program.cpp
  ${CMAKE_CURRENT_LIST_DIR}/audio_cd_file_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_list_actions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_button_commands.cpp
)
target_sources(korvelan PRIVATE ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
