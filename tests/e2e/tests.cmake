add_executable(test_e2e ${CMAKE_CURRENT_LIST_DIR}/test_quoril_process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_host_process.cpp)
target_link_libraries(test_e2e PRIVATE tarnis_testsupport tarnis_testmain GTest::gtest)
add_dependencies(test_e2e quoril tarnis)
target_compile_definitions(test_e2e PRIVATE QUORIL_PATH="$<TARGET_FILE:quoril>"
  TARNIS_PATH="$<TARGET_FILE:tarnis>" EXAMPLES_DIR="${CMAKE_SOURCE_DIR}/examples")
# The real game holds the per-user single-instance guard: one at a time.
gtest_discover_tests(test_e2e
  DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 120 RESOURCE_LOCK tarnis_app)
