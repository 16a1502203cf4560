# The window system, cursor, kernel (clock, single instance, quit signals) and
# the translation of machine faults into exceptions; windows live on SDL2.
list(APPEND TARNIS_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tns_win32_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_win32_kernel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_seh.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_win32_cursor.cpp
)
