# Files of this subsystem (see src/CMakeLists.txt for the three lists).
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/heap_string.cpp
    ${CMAKE_CURRENT_LIST_DIR}/string_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_utils.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_encoding.cpp
    ${CMAKE_CURRENT_LIST_DIR}/path_helpers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_log_text.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/heap_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_objects_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_case_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_encoding_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/path_helpers_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_box_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_log_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/access_check_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_libraries_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_security_win32.cpp)
# Version text, the wininit.ini editor of the restart renames, and the registry roots.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/registry_roots.cpp
    ${CMAKE_CURRENT_LIST_DIR}/version_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wininit_ini.cpp)
# File versions and shared counts, replacing files at restart, deleting files and registry keys,
# the 64-bit side of the system (registry views, the System32 redirection),
# where a window lies, a drive's free space, and restarting the computer.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/file_deletion_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registry_delete_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registry_keys_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_view_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_geometry_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_version_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/replace_on_reboot_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/drive_space_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_restart_win32.cpp)
list(APPEND KELVARA_HOST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/heap_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_objects_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_case_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_encoding_host.cpp)
