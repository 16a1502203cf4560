# DirectInput 8 device state; sdl/ translates SDL events into it.
list(APPEND TARNIS_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tns_dinput8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl/tns_dinput8_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl/tns_dinput8_events.cpp
)
