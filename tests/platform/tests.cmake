# The desktop's media controls need a session bus: their cases run again
# inside a private one, where a missing bus is a failure, not a skip.
find_package(Qt6 REQUIRED COMPONENTS DBus)
target_link_libraries(platform_tests PRIVATE Qt6::DBus)
target_link_libraries(journeys_tests PRIVATE Qt6::DBus)
find_program(KORVELAN_DBUS_RUN_SESSION dbus-run-session)
set(media_controls_cases
  media_controls_on_session_bus platform_tests "MediaControlsOnBus.*"
  media_controls_journeys_on_session_bus journeys_tests "MediaControlsJourney.*")
while(media_controls_cases)
  list(POP_FRONT media_controls_cases name program filter)
  if(KORVELAN_DBUS_RUN_SESSION)
    add_test(NAME ${name} COMMAND ${KORVELAN_DBUS_RUN_SESSION} -- $<TARGET_FILE:${program}>
             --gtest_filter=${filter})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "${KORVELAN_TEST_ENVIRONMENT};KORVELAN_REQUIRE_SESSION_BUS=1")
  else()
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo
             "SKIPPED: dbus-run-session is missing (Debian package dbus); the media controls are untested")
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED:")
  endif()
endwhile()
