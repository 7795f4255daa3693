# Compiler settings shared by every target of this project.
add_compile_options(-Wall -Wextra)

if(KELVARA_WINDOWS)
    # The engine is lean: no exceptions, no RTTI, unused functions collected at link time.
    # No: with it, mingw's compiler puts zero-filled objects (the run's record,
    # large tables) into initialised data, where they cost their full size in the file.
    # -Oz and no frame pointer: the smallest code. The objects carry both their compiled code, which
    # the tests link, and the compiler's intermediate form, from which the engine is compiled once
    # more as one unit at link time (src/CMakeLists.txt): calls across files are inlined or
    # dropped there, and functions used once melt into their caller.
    # A function called once stays a function: inlined into its caller it makes the caller's frame
    # and code larger than the call it saves.
    set(KELVARA_ENGINE_COMPILE_OPTIONS
        -Oz -fomit-frame-pointer -fno-inline-functions-called-once -fno-exceptions -fno-rtti
        -ffunction-sections -fno-asynchronous-unwind-tables -fno-unwind-tables -flto
        -ffat-lto-objects -fno-partial-inlining -Werror=stack-usage=4000)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        # No frame of the engine reaches a page of the stack (the build refuses one that would,
        # above), so it never needs the stack probe that grows the stack a page at a time; without
        # the probe a call pushes its arguments, which is shorter than storing them. The stack is
        # kept at the 4-byte alignment that 32-bit Windows guarantees, not padded to 16: the
        # engine has no SSE code that would need more (tests/e2e/stub_check.sh looks).
        list(APPEND KELVARA_ENGINE_COMPILE_OPTIONS -mno-stack-arg-probe
            -mno-accumulate-outgoing-args -mpreferred-stack-boundary=2)
    endif()
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
    # Every program we make is statically linked: only system DLLs may appear in its imports.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # Programs other than the engine link the objects' compiled code; the engine turns the
    # link-time compilation back on for itself.
    add_link_options(-fno-lto)
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
