# The icon set: each pixel map under icons/ becomes <build>/resources/icons/<name>.ico, where the
# resource script finds it. icon_compiler is a host tool (an imported one in cross builds).
set(QUOR6_ICON_NAMES
  num0 num1 num2 num3 num4 num5 num6 num7 num8 num9
  s b o k n g sp sw program)

set(quor6_icon_dir ${CMAKE_BINARY_DIR}/resources/icons)
file(MAKE_DIRECTORY ${quor6_icon_dir})

set(quor6_icon_files)
foreach(name IN LISTS QUOR6_ICON_NAMES)
  set(map ${CMAKE_CURRENT_SOURCE_DIR}/icons/${name}.txt)
  set(ico ${quor6_icon_dir}/${name}.ico)
  add_custom_command(
    OUTPUT ${ico}
    COMMAND $<TARGET_FILE:icon_compiler> ${map} ${ico}
    DEPENDS ${map} icon_compiler
    COMMENT "Icon ${name}.ico"
    VERBATIM)
  list(APPEND quor6_icon_files ${ico})
endforeach()

add_custom_target(quor6_icons ALL DEPENDS ${quor6_icon_files})
set_property(GLOBAL PROPERTY QUOR6_ICON_FILES ${quor6_icon_files})
