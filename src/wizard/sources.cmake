# Files of this subsystem (see src/CMakeLists.txt for the three lists).
# The wizard's run state, the outermost leftover folders the removal dialog shows, the space
# texts of the destination page, its rule for a browsed folder and the text lines of the
# background window.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/wizard_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/leftover_folders.cpp
    ${CMAKE_CURRENT_LIST_DIR}/space_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/destination_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/background_lines.cpp)
# Helpers the pages share: control texts, the free-space text, the folder picker.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/dialog_helpers_win32.cpp)
# The wizard: its frame with the destination check, the pages, the background window.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/wizard_frame_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/destination_check_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/simple_pages_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scope_page_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/choice_pages_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/files_in_use_page_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/destination_page_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/start_menu_page_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/finish_pages_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/background_window_win32.cpp)
# The page procedure of the wizard pages and the removal dialog, its painting, the removal
# dialog with its leftover tree, and waiting for a worker thread.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/page_procedure_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/page_painting_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/removal_dialog_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/leftover_tree_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/thread_wait_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/passive_window_win32.cpp)
