list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_inp_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_inp_keyboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_inp_keynames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_inp_mouse.cpp
)
