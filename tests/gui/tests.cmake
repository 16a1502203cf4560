tarnis_test(test_gui
  ${CMAKE_CURRENT_LIST_DIR}/gui_fixture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_manager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_element.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_script.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_tiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_timer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_listbox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_textbox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gui_scroll.cpp)
target_link_libraries(test_gui PRIVATE trsgui PkgConfig::LUA51)
