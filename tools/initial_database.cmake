# Run by the keyhaven-initial-database target: makes the database only when it is missing.
if(EXISTS "${DATABASE}" OR IS_SYMLINK "${DATABASE}")
  return()
endif()
execute_process(COMMAND "${NEWDB}" "${DATABASE}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "keyhaven-newdb could not create ${DATABASE}")
endif()
message(STATUS "Created ${DATABASE} (master password 123456)")
