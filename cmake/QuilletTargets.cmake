# Shared settings for every target of the project.
#
# Sources are UTF-8; narrow literals are compiled to GBK bytes so that every text
# inside the program is code page 936, whatever the build machine's locale. (A standard
# header with a literal that GBK cannot hold, such as <chrono>'s "µs", does not compile
# under this setting.)

function(quillet_defaults target)
  # Resource scripts of the target go to the resource compiler, which takes none of these.
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wno-missing-field-initializers>)
  # clang knows no execution character set but UTF-8; the fuzz tree exercises code whose
  # behaviour does not depend on the bytes of its literals.
  if(NOT QUILLET_FUZZ)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-finput-charset=UTF-8 -fexec-charset=GBK>)
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(WIN32)
    target_compile_definitions(${target} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    target_link_options(${target} PRIVATE -static)
  endif()
endfunction()

# quillet_test(name SOURCES ... LIBS ...): one GoogleTest executable, registered as one test.
# GoogleTest has no timeout of its own, so a test that never ends (a loop a fault made endless)
# ends its program after two minutes, several times the longest a test program takes.
function(quillet_test name)
  if(QUILLET_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  quillet_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gmock_main)
  if(WIN32)
    # Console program; the tests create windows themselves where they need them, with the
    # controls the program's manifest asks for.
    target_link_options(${name} PRIVATE -mconsole)
    target_sources(${name} PRIVATE ${PROJECT_BINARY_DIR}/manifest_only.rc)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 120)
endfunction()

# quillet_fuzz(name SOURCE file LIBS ...): a libFuzzer harness, run briefly as a test on its seed
# corpus (a copy, so that what the run adds stays in the build tree).
function(quillet_fuzz name)
  if(NOT QUILLET_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "SOURCE;SEEDS" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCE})
  quillet_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work ${CMAKE_BINARY_DIR}/corpus/${name})
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env ${PROJECT_SOURCE_DIR}/scripts/run-fuzzer $<TARGET_FILE:${name}> ${ARG_SEEDS} ${work} 5)
  set_tests_properties(${name} PROPERTIES TIMEOUT 120)
endfunction()

# quillet_embed_bytes(input output symbol): writes a C++ file defining
# `extern const unsigned char symbol[]` and `extern const unsigned long long symbol_size` with the
# bytes of input. It is regenerated whenever input changes.
function(quillet_embed_bytes input output symbol)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
  file(READ ${input} hex HEX)
  file(SIZE ${input} size)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
  file(CONFIGURE OUTPUT ${output} CONTENT "// Generated from ${input}; do not edit.
extern const unsigned char ${symbol}[] = {
${bytes}
0};
extern const unsigned long long ${symbol}_size = ${size};
")
endfunction()
