# Helpers that keep the folder CMakeLists short.
#
# vp_library(<name> PORTABLE <files...> WIN <files...> NATIVE <files...> DEPS <targets...>)
#   PORTABLE files include no Windows header and build in both presets; WIN files build only
#   in the Windows preset; NATIVE files are the portable stand-ins for WIN files.
# vp_test(<name> SOURCES <files...> DEPS <targets...> [WINDOWS_ONLY])
#   A GoogleTest program. Natively every test becomes a CTest case; under Wine the whole
#   program is one CTest case (starting Wine per case would cost more than the tests).

set(VP_WARNINGS -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Wno-missing-field-initializers)
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
    cmake_parse_arguments(ARG "WINDOWS_ONLY" "" "SOURCES;DEPS" ${ARGN})
    if(ARG_WINDOWS_ONLY AND NOT VP_WINDOWS)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} vp_test_main gmock)
    vp_apply_warnings(${name})
    if(VP_WINDOWS)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "VP_FIXTURES=Z:${PROJECT_SOURCE_DIR}/tests/fixtures;VP_SOURCE_DIR=Z:${PROJECT_SOURCE_DIR}"
            TIMEOUT 600)
    else()
        gtest_discover_tests(${name} TEST_PREFIX "${name}."
            PROPERTIES ENVIRONMENT "VP_FIXTURES=${PROJECT_SOURCE_DIR}/tests/fixtures;VP_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
            DISCOVERY_TIMEOUT 60)
    endif()
endfunction()

# vp_benchmark(<name> SOURCES <files...> DEPS <targets...>): native Google Benchmark program.
function(vp_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    if(VP_WINDOWS OR NOT benchmark_FOUND)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
    vp_apply_warnings(${name})
endfunction()
