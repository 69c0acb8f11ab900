# Stand-ins for the operating system's interfaces. The settings store, paths,
# encodings, drives, processes, the single-instance lock and the dialog
# service's interface need Qt Core only. The keyboard state and opening a
# document need the desktop session (Qt Gui): built into the core library,
# which links it. The dialog service's widget backend shows modal boxes and
# sits with the windows.
target_sources(korvelan_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/bulk_memory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_service.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drives.cpp
  ${CMAKE_CURRENT_LIST_DIR}/heap_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/single_instance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_encoding.cpp
)
target_sources(korvelan_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/desktop.cpp
)
target_sources(korvelan_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/widget_dialogs.cpp
)
