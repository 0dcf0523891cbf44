# Settings shared by every target of the project: the language level, the
# warnings and the Qt definitions. Each target links quillan_common.
add_library(quillan_common INTERFACE)

target_compile_features(quillan_common INTERFACE cxx_std_20)

target_compile_definitions(quillan_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
)

if (MSVC)
    target_compile_options(quillan_common INTERFACE /W4 /utf-8)
else()
    target_compile_options(quillan_common INTERFACE -Wall -Wextra -Wpedantic)
endif()

# A build of many sources a unit (the sanitized builds) includes each .cpp
# into a generated one, and GCC then takes a test fixture in a file's
# anonymous namespace for one in a header that other files could see.
if (CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(quillan_common INTERFACE -Wno-subobject-linkage)
endif()
