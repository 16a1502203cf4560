tarnis_test(test_platform
  ${CMAKE_CURRENT_LIST_DIR}/test_window.cpp)
target_link_libraries(test_platform PRIVATE PkgConfig::SDL2)

# The full-screen window on a bare X server, when Xvfb is at hand.
find_program(XVFB_RUN xvfb-run)
find_package(X11)
if(XVFB_RUN AND X11_FOUND)
  add_executable(test_window_x11 ${CMAKE_CURRENT_LIST_DIR}/test_window_x11.cpp)
  target_link_libraries(test_window_x11 PRIVATE tarnis_engine tarnis_testsupport tarnis_testmain GTest::gtest
    PkgConfig::SDL2 X11::X11)
  add_test(NAME BareX11.FullScreenWindowCoversTheDesktop
    COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24"
      env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy $<TARGET_FILE:test_window_x11>)
  set_tests_properties(BareX11.FullScreenWindowCoversTheDesktop PROPERTIES TIMEOUT 120)
endif()
