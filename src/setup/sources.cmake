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
# mingw's compiler puts zero-filled objects into initialised data when each object gets its own
# section; the run's record is large and all zero, so it is kept in .bss this way.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/setup_state.cpp
    PROPERTIES COMPILE_OPTIONS -fno-data-sections)
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
