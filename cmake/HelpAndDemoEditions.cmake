# The user's guide goes beside every built program, in the folder "help";
# the Spanish demo edition gets its own program directory, build/bin-es,
# with the same data, its own editions file, texts, readme and settings.
file(GLOB_RECURSE KORVELAN_HELP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/help/*)
set(KORVELAN_HELP_STAMP ${CMAKE_BINARY_DIR}/help.stamp)
add_custom_command(OUTPUT ${KORVELAN_HELP_STAMP}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/resources/help ${CMAKE_BINARY_DIR}/bin/help
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/resources/help ${CMAKE_BINARY_DIR}/bin-es/help
  COMMAND ${CMAKE_COMMAND} -E touch ${KORVELAN_HELP_STAMP}
  DEPENDS ${KORVELAN_HELP_FILES}
  COMMENT "Placing the user's guide beside the program")
add_custom_target(korvelan_help ALL DEPENDS ${KORVELAN_HELP_STAMP})
add_dependencies(korvelan korvelan_help)

set(KORVELAN_DEMO_ES_DIR ${CMAKE_SOURCE_DIR}/editions/demo-es)
file(GLOB KORVELAN_DEMO_ES_FILES CONFIGURE_DEPENDS ${KORVELAN_DEMO_ES_DIR}/*.txt ${KORVELAN_DEMO_ES_DIR}/*.TXT)
set(KORVELAN_BIN_ES ${CMAKE_BINARY_DIR}/bin-es)
add_custom_target(korvelan_demo_es ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVELAN_BIN_ES}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KORVELAN_DEMO_PROGRAM_FILES} ${KORVELAN_BIN_ES}/
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KORVELAN_DEMO_ES_FILES} ${KORVELAN_BIN_ES}/
  # A copy, not a link: the program finds its files beside its own path.
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:korvelan> ${KORVELAN_BIN_ES}/
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${KORVELAN_DEMO_ES_DIR}/Korvelan.ini.in -DTARGET=${KORVELAN_BIN_ES}/Korvelan.ini
          -DBASE_DIR=${KORVELAN_DEMO_DIR}/base/ -P ${CMAKE_SOURCE_DIR}/cmake/StartingSettings.cmake
  DEPENDS korvelan korvelan_help ${KORVELAN_DEMO_PROGRAM_FILES} ${KORVELAN_DEMO_ES_FILES}
  COMMENT "Placing the Spanish demo edition in bin-es")
