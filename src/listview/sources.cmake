# The list's logic: fonts and formatted text, the line texts and line model,
# the fold snapshot, window state and the register of list windows. No widget.
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/fold_snapshot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/formatted_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_builder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_texts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_actions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_bitmaps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_fonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_tag_texts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_commands.h
  ${CMAKE_CURRENT_LIST_DIR}/show_string_record.h
  ${CMAKE_CURRENT_LIST_DIR}/show_strings_data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_strings_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/top_forms.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_state.cpp
)
# The view and the windows. The list (TShowStrings) places the recording
# buttons as child widgets and the find walks it, so both sit here.
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/child_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_find.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_strings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tooltip_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_placement.cpp
)
