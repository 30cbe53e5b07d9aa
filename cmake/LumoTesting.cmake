# lumo_add_test(<name> SOURCES <files...> [DISPLAY] [TIMEOUT <s>] [ENVIRONMENT <k=v...>]
#               [LIBRARIES <libs...>])
#
# Builds one GoogleTest executable. Plain tests are discovered one by one; a test that opens a
# window (DISPLAY) runs as a whole inside its own Xvfb server, so its cases share one display.
if(LUMO_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

set(LUMO_TEST_ENVIRONMENT
    "SDL_VIDEODRIVER=x11"
    "ALSOFT_DRIVERS=null"
    "MESA_SHADER_CACHE_DISABLE=true"
    "LUMO_TEST_DATA=${CMAKE_SOURCE_DIR}/lumo/tests/data"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/scripts/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "ASAN_OPTIONS=verify_asan_link_order=0")
set(LUMO_WITH_XVFB ${CMAKE_SOURCE_DIR}/scripts/with-xvfb.sh)

function(lumo_add_test name)
  if(NOT LUMO_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "DISPLAY" "TIMEOUT" "SOURCES;ENVIRONMENT;LIBRARIES" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE lumo ${T_LIBRARIES} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/lumo/tests)
  # Tests run through `env`, so a test's own settings, given last, override the defaults.
  set(env ${LUMO_TEST_ENVIRONMENT} ${T_ENVIRONMENT})
  if(T_DISPLAY)
    add_test(NAME ${name} COMMAND env ${env} ${LUMO_WITH_XVFB} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS display)
  else()
    # `env` sets the variables both for listing and for running each discovered case.
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "env;${env}")
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST
                         DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()

# lumo_add_fuzzer(<name> SOURCES <files...> [LIBRARIES <libs...>])
#
# A libFuzzer target, built only with LUMO_FUZZ (scripts/fuzz.sh configures clang for it). It
# links lumo and sees lumo/tests, where the targets' shared helpers are.
function(lumo_add_fuzzer name)
  if(NOT LUMO_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE lumo ${F_LIBRARIES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/lumo/tests)
endfunction()
