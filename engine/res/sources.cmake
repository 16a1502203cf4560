list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_res_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_res_cres.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_res_loaders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_res_pakfile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_res_path.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_utils_csmartid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_utils_demand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_utils_cxmlparser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_utils_cxmlvar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_utils_numtext.cpp
)
