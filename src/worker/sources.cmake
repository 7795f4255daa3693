# Files of this layer (see src/CMakeLists.txt for the three lists).
# What the install and uninstall threads share: the worker state, the status texts a worker
# sets, the run's private temporary folder; action records (their fields and defaults, command
# lines, the list walk with the run-once removal), starting the programs and calling the DLL
# functions (a 64-bit DLL's registration through the native regsvr32), and the uninstaller's
# logged actions; the programs that hold a run's files: the plan for them (portable), finding,
# closing and starting them again; the marks of an installation in progress.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/worker_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/action_records.cpp
    ${CMAKE_CURRENT_LIST_DIR}/closing_rules.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/status_text_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/temp_folder_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_runner_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dll_call_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/native_registration_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/logged_actions_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/running_programs_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_closing_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_marks_win32.cpp)
