# The small information windows, the browser window, help, About and the
# introduction.
target_sources(korvelan_models PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/about_texts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/info_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_opening.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_translations.cpp
)
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/about_audio_cd_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/information_window_actions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/intro_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_window_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/literature_references_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/person_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/small_information_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/threatened_status_explication_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/web_browser_form.cpp
)
