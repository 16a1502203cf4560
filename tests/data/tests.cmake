# The game's data: the generators reproduce the committed DATA/ byte for byte,
# and every resource of it loads from the loose files.
tarnis_test(test_data ${CMAKE_CURRENT_LIST_DIR}/test_data.cpp)
target_link_libraries(test_data PRIVATE trsgui)
add_dependencies(test_data gen_assets)
target_compile_definitions(test_data PRIVATE GEN_ASSETS_PATH="$<TARGET_FILE:gen_assets>"
  DATA_DIR="${CMAKE_SOURCE_DIR}/DATA")
