list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_res_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_utils_csmartid.cpp
)
