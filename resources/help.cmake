# quor6.hlp and quor6.html from one UTF-8 source, compiled by the project's own help compiler.
# In cross builds help_compiler is the imported host executable, so it is named by its target.
set(QUOR6_HELP_SOURCE ${CMAKE_CURRENT_LIST_DIR}/help/quor6_help.txt)
set(QUOR6_HELP_FILE ${CMAKE_BINARY_DIR}/quor6.hlp)
set(QUOR6_HELP_PAGE ${CMAKE_BINARY_DIR}/quor6.html)

add_custom_command(
  OUTPUT ${QUOR6_HELP_FILE} ${QUOR6_HELP_PAGE}
  COMMAND $<TARGET_FILE:help_compiler> ${QUOR6_HELP_SOURCE} ${QUOR6_HELP_FILE} ${QUOR6_HELP_PAGE}
  DEPENDS ${QUOR6_HELP_SOURCE} help_compiler
  COMMENT "Compiling the help file quor6.hlp and the help page quor6.html"
  VERBATIM
)
add_custom_target(quor6_help ALL DEPENDS ${QUOR6_HELP_FILE} ${QUOR6_HELP_PAGE})
