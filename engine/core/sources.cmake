list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_ehs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_window.cpp
)
