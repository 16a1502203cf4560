list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tns_win32_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_win32_kernel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_seh.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_win32_cursor.cpp
)
