# Compiler settings shared by every target of this project.
add_compile_options(-Wall -Wextra)

if(KELVARA_WINDOWS)
    # The engine is lean: no exceptions, no RTTI, unused functions collected at link time.
    # No -fdata-sections: with it, mingw's compiler puts zero-filled objects (the run's record,
    # large tables) into initialised data, where they cost their full size in the file.
    set(KELVARA_ENGINE_COMPILE_OPTIONS
        -Os -fno-exceptions -fno-rtti -ffunction-sections
        -fno-asynchronous-unwind-tables -fno-unwind-tables)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
    # Every program we make is statically linked: only system DLLs may appear in its imports.
    add_link_options(-static -static-libgcc -static-libstdc++)
else()
    set(KELVARA_ENGINE_COMPILE_OPTIONS -fno-exceptions -fno-rtti)
    if(KELVARA_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
        add_link_options(-fsanitize=address,undefined)
    endif()
    if(KELVARA_FUZZ)
        # Coverage feedback for libFuzzer in every library the harnesses link; the harnesses
        # themselves link the fuzzer's main (fuzz/CMakeLists.txt).
        add_compile_options(-fsanitize=fuzzer-no-link)
    endif()
endif()
