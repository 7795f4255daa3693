# Files of this subsystem (see src/CMakeLists.txt for the three lists).
# The installation's run state, overwrite decisions, settling the variables before the
# installation, and the installation folder's room and its check.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/install_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/overwrite_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settle_variables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/install_folder.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/install_folder_win32.cpp)
# The install thread: its run state and display, the files phase with the folder chains and the
# readers that make file content ready ahead of it, the record phases, and the action lists.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/install_display_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/install_run_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_chain_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_window_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inflate_ahead_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/block_reader_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_extraction_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/record_phases_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shortcuts_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registry_values_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/action_lists_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/own_files_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/install_thread_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/left_out_parts_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/files_in_use_win32.cpp)
# Shortcut records: the wizard's filter, expansion and fields; and the link file itself.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/shortcut_record.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/shell_link_win32.cpp)
# Registry values, INI entries, file associations and the uninstall entry: the record rules and
# value conversion (portable), and the writers with the key chain and the value write helper.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/config_records.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registry_data.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/registry_write_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ini_entries_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_associations_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uninstall_entry_win32.cpp)
