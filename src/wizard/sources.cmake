# Files of this subsystem (see src/CMakeLists.txt for the three lists).
# Status texts set by the worker threads.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/status_text_win32.cpp)
# The Yes / Yes To All / No confirmation dialog.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/confirmation_dialog_win32.cpp)
