add_executable(test_e2e_quoril ${CMAKE_CURRENT_LIST_DIR}/test_quoril_process.cpp)
target_link_libraries(test_e2e_quoril PRIVATE tarnis_testsupport tarnis_testmain GTest::gtest)
add_dependencies(test_e2e_quoril quoril)
target_compile_definitions(test_e2e_quoril PRIVATE QUORIL_PATH="$<TARGET_FILE:quoril>")
# The real game holds the per-user single-instance guard: one at a time.
gtest_discover_tests(test_e2e_quoril
  DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 120 RESOURCE_LOCK tarnis_app)
