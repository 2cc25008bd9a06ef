# Shared settings for every target of the project.
#
# Sources are UTF-8; narrow literals are compiled to GBK bytes so that every text
# inside the program is code page 936, whatever the build machine's locale. (A standard
# header with a literal that GBK cannot hold, such as <chrono>'s "µs", does not compile
# under this setting.)

function(quillet_defaults target)
  target_compile_options(${target} PRIVATE
    -finput-charset=UTF-8 -fexec-charset=GBK
    -Wall -Wextra -Wno-missing-field-initializers)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(WIN32)
    target_compile_definitions(${target} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    target_link_options(${target} PRIVATE -static)
  endif()
endfunction()

# quillet_test(name SOURCES ... LIBS ...): one GoogleTest executable, registered as one test.
function(quillet_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  quillet_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gmock_main)
  if(WIN32)
    # Console program; the tests create windows themselves where they need them.
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
