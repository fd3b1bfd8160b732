# The scripted fake window toolkit, shared by the unit tests and the fuzz target.
if(TARGET quor6_fake_toolkit)
  return()
endif()
add_library(quor6_fake_toolkit STATIC ${CMAKE_CURRENT_LIST_DIR}/fake_toolkit.cpp)
target_link_libraries(quor6_fake_toolkit PUBLIC quor6_logic)
quor6_warnings(quor6_fake_toolkit)
