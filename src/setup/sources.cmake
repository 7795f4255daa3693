# Files of this subsystem (see src/CMakeLists.txt for the three lists).
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/image_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/background_palette.cpp
    ${CMAKE_CURRENT_LIST_DIR}/setup_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inflate_buffer.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/init_stages_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cleanup_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/setup_image_win32.cpp)
# Variables and folder-token expansion.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/variables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_token_names.cpp)
# The setup script's format, its records and the language tables.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/script_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/script_records.cpp
    ${CMAKE_CURRENT_LIST_DIR}/languages.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/script_records_win32.cpp)
list(APPEND KELVARA_HOST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/script_records_host.cpp)
# Encoding of script records (the builder writes with it; the engine links it only if used).
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/script_writer.cpp)
# The silent run and the installer's exit codes.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/exit_codes.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/finish_decisions_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/silent_run_win32.cpp)
# The wizard run: the wizard over its background window, then the finish decisions.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/wizard_run_win32.cpp)
