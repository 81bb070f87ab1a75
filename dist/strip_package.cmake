# Run by CPack on the staged files before it packs them: the game binary,
# already stripped, also loses the compiler's .comment and .note sections,
# as Debian's dh_strip does.
file(GLOB_RECURSE binaries ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/games/swarmfire)
if(NOT binaries)
  message(FATAL_ERROR "strip_package: no games/swarmfire under ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(binary ${binaries})
  execute_process(COMMAND ${CPACK_OBJCOPY} --remove-section=.comment --remove-section=.note ${binary}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
