# Files of this subsystem (see src/CMakeLists.txt for the three lists).
# The uninstaller's run state, which log an uninstaller run reads, protected folders.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/protected_folders.cpp)
# Reading the log and the rollback mode, the self-removal script, the uninstall thread, folder
# removal, the Yes / Yes To All / No confirmation dialog, the programs that hold the files to
# remove, and the recovery of an installation that was cut off.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/confirmation_dialog_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_log_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/self_removal_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_thread_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_removal_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/protected_folders_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/programs_in_use_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/interrupted_run_win32.cpp)
