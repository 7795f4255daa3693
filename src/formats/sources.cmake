# Files of this layer (see src/CMakeLists.txt for the three lists). All portable: the builder
# links this library and nothing above it.
# The script's configuration, the command line with the deployment options, and the inflate
# buffer.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/setup_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/choices.cpp
    ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/deployment_options.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inflate_start.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inflate_buffer.cpp)
# The image: stub header and package header, the file groups' byte layout, inflating packaged
# files in pieces and decoding blocks.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/image_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_signature.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_bytes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stream_inflate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/block_decode.cpp)
# The setup script: its record format, the writer the builder encodes with (the engine links
# it only if used), the language tables, variables and folder-token names.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/script_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/script_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/languages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uninstaller_texts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/variables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_token_names.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows_version_demand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/product_version.cpp)
# The install log, and the rollback log kept as a journal.
list(APPEND KELVARA_PORTABLE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/install_log.cpp
    ${CMAKE_CURRENT_LIST_DIR}/journal.cpp)
