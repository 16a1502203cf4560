list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tns_dinput8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl/tns_dinput8_keys.cpp
)
