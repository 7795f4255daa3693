# Files of this subsystem (see src/CMakeLists.txt for the three lists).
# Which log an uninstaller run reads, the self-removal script, root key names, questions.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/protected_folders.cpp)
# The uninstaller's start and rollback mode, the uninstall thread, registry and file removal,
# and the restart.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/uninstaller_start_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_thread_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registry_delete_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_removal_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/restart_win32.cpp)
