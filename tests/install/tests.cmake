# Installs into a temporary prefix and starts the installed program there.
add_test(NAME installed_program_smoke
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/installed_program_smoke.sh ${CMAKE_BINARY_DIR})
set_tests_properties(installed_program_smoke PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
