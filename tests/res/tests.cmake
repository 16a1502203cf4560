tarnis_test(test_res
  ${CMAKE_CURRENT_LIST_DIR}/test_csmartid.cpp)
