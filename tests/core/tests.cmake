tarnis_test(test_core
  ${CMAKE_CURRENT_LIST_DIR}/test_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_timer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_ehs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_items.cpp)
