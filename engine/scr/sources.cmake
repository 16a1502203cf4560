list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_scr_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_scr_func.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_scr_cluaval.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_scr_guard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_scr_textonly.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_scr_api.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_glue_common.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_glue_sys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_glue_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_glue_gfx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_glue_inp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_glue_sfx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_glue_res.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_glue_util.cpp
)
