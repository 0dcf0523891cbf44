# Build variants that catch faults the tests alone would miss. All are off by
# default; .ci/run turns them on in builds of their own.
#
#   QUILLAN_WERROR    every warning of the project's own code is an error.
#   QUILLAN_SANITIZE  AddressSanitizer (with LeakSanitizer) and
#                     UndefinedBehaviorSanitizer in every target, stopping at
#                     the first report.
#   QUILLAN_TSAN      ThreadSanitizer in every target, for the threads that
#                     read pages ahead of the walk.
#   QUILLAN_FUZZ      the engine instrumented for libFuzzer and the fuzz
#                     targets of fuzz/ linked with it (clang only).

option(QUILLAN_WERROR "Treat warnings as errors" OFF)
option(QUILLAN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(QUILLAN_TSAN "Build with ThreadSanitizer" OFF)
option(QUILLAN_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if (QUILLAN_TSAN AND (QUILLAN_SANITIZE OR QUILLAN_FUZZ))
    message(FATAL_ERROR "ThreadSanitizer cannot be combined with AddressSanitizer: "
                        "configure a build of its own with QUILLAN_TSAN")
endif()

if (QUILLAN_WERROR)
    if (MSVC)
        target_compile_options(quillan_common INTERFACE /WX)
    else()
        target_compile_options(quillan_common INTERFACE -Werror)
    endif()
endif()

set(QUILLAN_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)

if (QUILLAN_FUZZ)
    if (NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "QUILLAN_FUZZ needs clang: configure with CXX=clang++")
    endif()
    # Coverage feedback for the fuzzer in every object, the fuzzer's own
    # main only in the fuzz targets (fuzz/CMakeLists.txt).
    add_compile_options(-fsanitize=fuzzer-no-link ${QUILLAN_SANITIZER_FLAGS})
    add_link_options(-fsanitize=address,undefined)
elseif (QUILLAN_SANITIZE)
    add_compile_options(${QUILLAN_SANITIZER_FLAGS})
    add_link_options(-fsanitize=address,undefined)
elseif (QUILLAN_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()
