# The About window.
target_sources(torumin_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/INFO_VER.cpp)
