# Files of this subsystem (see src/CMakeLists.txt for the three lists).
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/background_palette.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/init_stages_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/elevated_restart_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scope_choice_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/choice_options_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cleanup_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/setup_image_win32.cpp)
# The setup script's records applied to the run.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/script_records.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/script_records_win32.cpp)
list(APPEND KELVARA_HOST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/script_records_host.cpp)
# The silent run and the installer's exit codes.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/exit_codes.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/finish_decisions_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/silent_run_win32.cpp)
# The wizard run: the wizard over its background window, then the finish decisions.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/wizard_run_win32.cpp)
# The uninstaller run: its two stages. An installation that was cut off, undone at the start of
# a setup or uninstaller run, or by the recovery mode the next logon starts.
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/uninstaller_run_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/interrupted_setup_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/installation_lock_win32.cpp)
