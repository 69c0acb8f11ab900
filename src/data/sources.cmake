# The species database: records, loading and the visibility filter.
target_sources(korvelan_data PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_queries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/record_store.h
  ${CMAKE_CURRENT_LIST_DIR}/recording_identifier.h
  ${CMAKE_CURRENT_LIST_DIR}/records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared_text.h
  ${CMAKE_CURRENT_LIST_DIR}/visibility_filter.cpp
)
