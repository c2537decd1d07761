# Registration helpers for tests/: one call per suite.

# tessarine_suite(<target> <sources...> [NAME test] [LIBS ...] [DEPENDS ...] [DEFINES ...] [PROPERTIES ...])
# A GoogleTest binary (run under Wine in the Windows build) that sees testing/ and any
# generated headers of tests/; registered with ctest as NAME, else as <target>.
function(tessarine_suite name)
  cmake_parse_arguments(S "" "NAME" "LIBS;DEPENDS;DEFINES;PROPERTIES" ${ARGN})
  if(NOT S_NAME)
    set(S_NAME ${name})
  endif()
  add_executable(${name} ${S_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE GTest::gtest_main ${S_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/testing ${CMAKE_CURRENT_BINARY_DIR}/generated)
  target_compile_definitions(${name} PRIVATE ${S_DEFINES})
  if(S_DEPENDS)
    add_dependencies(${name} ${S_DEPENDS})
  endif()
  add_test(NAME ${S_NAME} COMMAND ${name})
  if(S_PROPERTIES)
    set_tests_properties(${S_NAME} PROPERTIES ${S_PROPERTIES})
  endif()
endfunction()

# tessarine_fuzz(<target> <library>): the libFuzzer target fuzz_<target> of
# tests/fuzz/fuzz_<target>.cpp, run as a test over its seed corpus and a few seconds
# more (scripts/fuzz runs the binaries of build/fuzz/tests/fuzz for longer). New inputs
# go to the build folder; the committed seeds stay as they are.
set(TESSARINE_FUZZ_SECONDS 3 CACHE STRING "Seconds each fuzz target runs as a test")
function(tessarine_fuzz target library)
  set(out ${CMAKE_BINARY_DIR}/tests/fuzz)
  set(seeds ${PROJECT_SOURCE_DIR}/testing/fuzz/corpus/${target})
  add_executable(fuzz_${target} ${PROJECT_SOURCE_DIR}/tests/fuzz/fuzz_${target}.cpp)
  set_target_properties(fuzz_${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${out})
  target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
  target_include_directories(fuzz_${target} PRIVATE ${PROJECT_SOURCE_DIR}/testing)
  target_link_libraries(fuzz_${target} PRIVATE ${library})
  file(MAKE_DIRECTORY ${out}/corpus/${target} ${seeds})
  add_test(NAME fuzz_${target}
    COMMAND fuzz_${target} -max_total_time=${TESSARINE_FUZZ_SECONDS} -print_final_stats=1
            -artifact_prefix=${out}/fuzz_${target}- ${out}/corpus/${target} ${seeds})
endfunction()

# The WebView2 slots and enumerators to hold the declarations against, listed from the
# binary-interface facts at build time into generated/webview2_slot_table.inc.
function(tessarine_webview2_slot_table output)
  set(facts ${PROJECT_SOURCE_DIR}/testing/data/webview2-abi-facts.md)
  set(script ${PROJECT_SOURCE_DIR}/testing/support/webview2_slot_table.cmake)
  set(table ${CMAKE_CURRENT_BINARY_DIR}/generated/webview2_slot_table.inc)
  add_custom_command(OUTPUT ${table}
    COMMAND ${CMAKE_COMMAND} -DFACTS=${facts} -DOUTPUT=${table} -P ${script}
    DEPENDS ${facts} ${script}
    COMMENT "Listing the WebView2 slots and enumerators to check")
  set(${output} ${table} PARENT_SCOPE)
endfunction()
