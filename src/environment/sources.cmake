# Files of this subsystem (see src/CMakeLists.txt for the three lists).
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/windows_release.cpp
    ${CMAKE_CURRENT_LIST_DIR}/detection_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/requirements.cpp
    ${CMAKE_CURRENT_LIST_DIR}/product_architecture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/install_scope.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_environment.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_expansion.cpp)
list(APPEND KELVARA_WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/registry_text_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_tokens_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/product_side_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/install_scope_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_detection_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/directx_probe_win32.cpp)
