tarnis_test(test_docs ${CMAKE_CURRENT_LIST_DIR}/test_docs.cpp)
target_link_libraries(test_docs PRIVATE trsgui PkgConfig::LUA51)
target_compile_definitions(test_docs PRIVATE DOCS_DIR="${CMAKE_SOURCE_DIR}/docs"
  EXAMPLES_DIR="${CMAKE_SOURCE_DIR}/examples")
