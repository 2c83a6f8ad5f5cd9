# Helpers that keep the folder CMakeLists short.
#
# vp_library(<name> PORTABLE <files...> WIN <files...> NATIVE <files...> DEPS <targets...>)
#   PORTABLE files include no Windows header and build in both presets; WIN files build only
#   in the Windows preset; NATIVE files are the portable stand-ins for WIN files.
# vp_test(<name> SOURCES <files...> DEPS <targets...> [WINDOWS_ONLY] [TIMEOUT s]
#         [RESOURCE_LOCK <locks...>] [LABELS <labels...>] [RUN_SERIAL])
#         [DEFINITIONS <defs...>] [BUILD_DEPENDS <targets...>] [WRAPPER <script> [options...]]
#   A GoogleTest program. Natively every test becomes a CTest case. In the Windows build a
#   WINDOWS_ONLY program is one CTest case under Wine; the portable ones all go into one
#   program, test_portable (see vp_add_portable_test_program). A WINDOWS_ONLY program with a
#   WRAPPER is started by that script, which gets the program's path and runs it under Wine
#   (for services the test needs beside it, such as tests/support/run_with_publisher.sh).

# Paths baked into test programs: Wine sees the build machine's files through drive Z:.
if(VP_WINDOWS)
    set(VP_WINE_PATH_PREFIX "Z:")
else()
    set(VP_WINE_PATH_PREFIX "")
endif()

set(VP_WARNINGS -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Wno-missing-field-initializers)
# GCC 12's standard library makes -O3 report overlapping copies in std::basic_string that
# cannot happen (GCC bug 105651, fixed in 13); the optimised build would not compile.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    list(APPEND VP_WARNINGS -Wno-restrict)
endif()
if(VP_WERROR)
    list(APPEND VP_WARNINGS -Werror)
endif()

if(NOT VP_WINDOWS AND VP_SANITIZE)
    set(VP_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_compile_options(${VP_SANITIZER_FLAGS})
    add_link_options(${VP_SANITIZER_FLAGS})
endif()

function(vp_apply_warnings target)
    target_compile_options(${target} PRIVATE ${VP_WARNINGS})
endfunction()

function(vp_library name)
    cmake_parse_arguments(ARG "" "" "PORTABLE;WIN;NATIVE;DEPS" ${ARGN})
    set(sources ${ARG_PORTABLE})
    if(VP_WINDOWS)
        list(APPEND sources ${ARG_WIN})
    else()
        list(APPEND sources ${ARG_NATIVE})
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    vp_apply_warnings(${name})
endfunction()

function(vp_test name)
    cmake_parse_arguments(ARG "WINDOWS_ONLY;RUN_SERIAL" "TIMEOUT"
        "SOURCES;DEPS;RESOURCE_LOCK;LABELS;DEFINITIONS;BUILD_DEPENDS;WRAPPER" ${ARGN})
    if(ARG_WINDOWS_ONLY AND NOT VP_WINDOWS)
        return()
    endif()
    if(VP_WINDOWS AND NOT ARG_WINDOWS_ONLY)
        # Portable tests share one program under Wine: starting Wine costs more than most of them.
        list(TRANSFORM ARG_SOURCES PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/" REGEX "^[^/]")
        set_property(GLOBAL APPEND PROPERTY VP_PORTABLE_TEST_SOURCES ${ARG_SOURCES})
        set_property(GLOBAL APPEND PROPERTY VP_PORTABLE_TEST_DEPS ${ARG_DEPS})
        set_property(GLOBAL APPEND PROPERTY VP_PORTABLE_TEST_DEFINITIONS ${ARG_DEFINITIONS})
        set_property(GLOBAL APPEND PROPERTY VP_PORTABLE_TEST_BUILD_DEPENDS ${ARG_BUILD_DEPENDS})
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} vp_test_support gmock)
    if(VP_WINDOWS)
        # Linked directly: an object library's objects do not travel through another library.
        target_link_libraries(${name} PRIVATE vp_ui_resources)
    endif()
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
    if(ARG_BUILD_DEPENDS)
        add_dependencies(${name} ${ARG_BUILD_DEPENDS})
    endif()
    vp_apply_warnings(${name})
    if(VP_WINDOWS)
        set(serial "")
        if(ARG_RUN_SERIAL)
            set(serial RUN_SERIAL)
        endif()
        set(command ${name})
        if(ARG_WRAPPER)
            set(command ${ARG_WRAPPER} $<TARGET_FILE:${name}>)
        endif()
        vp_add_wine_test(${name} COMMAND ${command} TIMEOUT "${ARG_TIMEOUT}"
            RESOURCE_LOCK ${ARG_RESOURCE_LOCK} LABELS ${ARG_LABELS} ${serial})
        if(ARG_WRAPPER)
            set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77) # a service it needs is missing
        endif()
    else()
        gtest_discover_tests(${name} TEST_PREFIX "${name}."
            PROPERTIES ENVIRONMENT "VP_SOURCE_DIR=${PROJECT_SOURCE_DIR}" LABELS "${ARG_LABELS}"
            DISCOVERY_TIMEOUT 60)
    endif()
endfunction()

# vp_add_wine_test(<name> COMMAND <cmd...> [TIMEOUT s] [RESOURCE_LOCK <locks...>] [LABELS <labels...>]
#                  [RUN_SERIAL])
#   One CTest case for a program under Wine. Tests that change what others read (the shell
#   folder keys, the system proxy) take a lock of that name, so they never overlap.
function(vp_add_wine_test name)
    cmake_parse_arguments(ARG "RUN_SERIAL" "TIMEOUT" "COMMAND;RESOURCE_LOCK;LABELS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_test(NAME ${name} COMMAND ${ARG_COMMAND})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "VP_SOURCE_DIR=Z:${PROJECT_SOURCE_DIR}"
        TIMEOUT ${ARG_TIMEOUT})
    if(ARG_RESOURCE_LOCK)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
    endif()
    if(ARG_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
    if(ARG_RUN_SERIAL)
        set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()

# Called once every folder has added its tests: the Windows build's program of all portable tests.
function(vp_add_portable_test_program)
    if(NOT VP_WINDOWS)
        return()
    endif()
    get_property(sources GLOBAL PROPERTY VP_PORTABLE_TEST_SOURCES)
    get_property(deps GLOBAL PROPERTY VP_PORTABLE_TEST_DEPS)
    get_property(definitions GLOBAL PROPERTY VP_PORTABLE_TEST_DEFINITIONS)
    get_property(build_depends GLOBAL PROPERTY VP_PORTABLE_TEST_BUILD_DEPENDS)
    list(REMOVE_DUPLICATES sources)
    list(REMOVE_DUPLICATES deps)
    add_executable(test_portable ${sources})
    target_include_directories(test_portable PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(test_portable PRIVATE ${deps} vp_test_support vp_ui_resources gmock)
    target_compile_definitions(test_portable PRIVATE ${definitions})
    if(build_depends)
        add_dependencies(test_portable ${build_depends})
    endif()
    vp_apply_warnings(test_portable)
    vp_add_wine_test(test_portable COMMAND test_portable TIMEOUT 300)
endfunction()

# vp_benchmark(<name> SOURCES <files...> DEPS <targets...>): native Google Benchmark program,
# built by the target "benchmarks" too.
if(NOT TARGET benchmarks)
    add_custom_target(benchmarks)
endif()
function(vp_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    if(VP_WINDOWS OR NOT benchmark_FOUND)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
    vp_apply_warnings(${name})
    add_dependencies(benchmarks ${name})
endfunction()

# vp_fuzz_target(<name> SOURCES <files...> [INSTRUMENT <libraries...>] [DEPS <targets...>]):
# a libFuzzer program, made only by a native clang build whose toolchain has libFuzzer. The
# sources of the INSTRUMENT libraries are compiled into it, so that the fuzzer steers by
# their coverage. The g++ presets run the same fuzz bodies as bounded GoogleTest cases.
function(vp_fuzz_target name)
    cmake_parse_arguments(ARG "" "" "SOURCES;INSTRUMENT;DEPS" ${ARGN})
    if(VP_WINDOWS OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        return()
    endif()
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
    check_cxx_source_compiles([[
        #include <cstddef>
        #include <cstdint>
        extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
    ]] VP_HAVE_LIBFUZZER)
    unset(CMAKE_REQUIRED_FLAGS)
    if(NOT VP_HAVE_LIBFUZZER)
        return()
    endif()
    set(sources ${ARG_SOURCES})
    foreach(library IN LISTS ARG_INSTRUMENT)
        get_target_property(library_sources ${library} SOURCES)
        get_target_property(library_dir ${library} SOURCE_DIR)
        list(TRANSFORM library_sources PREPEND "${library_dir}/")
        list(APPEND sources ${library_sources})
    endforeach()
    add_executable(${name} ${sources})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    vp_apply_warnings(${name})
endfunction()
