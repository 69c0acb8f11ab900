# The species database: records, loading and the visibility filter.
target_sources(korvelan_data PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_queries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/markup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/media_records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/people_places.cpp
  ${CMAKE_CURRENT_LIST_DIR}/record_store.h
  ${CMAKE_CURRENT_LIST_DIR}/recording_identifier.h
  ${CMAKE_CURRENT_LIST_DIR}/shared_text.h
  ${CMAKE_CURRENT_LIST_DIR}/species_database.h
  ${CMAKE_CURRENT_LIST_DIR}/taxa.cpp
  ${CMAKE_CURRENT_LIST_DIR}/visibility_filter.cpp
)
