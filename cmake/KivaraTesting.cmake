# kivara_add_test(<name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>]
#                 [ENVIRONMENT <VAR=value...>] [TIMEOUT <seconds>])
#
# Builds a QtTest program linked to kivara_core and registers it with CTest.
# Tests run headless: offscreen platform and the software Qt Quick backend,
# with HOME and the XDG folders in a scratch folder of the build tree.
# Tests labelled x11 get the X display that `make test` provides through xvfb-run.
set(KIVARA_TEST_HOME ${CMAKE_BINARY_DIR}/testhome)

function(kivara_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE kivara_core Qt5::Test ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  kivara_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set(env
    HOME=${KIVARA_TEST_HOME}
    XDG_RUNTIME_DIR=${KIVARA_TEST_HOME}/runtime
    XDG_CACHE_HOME=${KIVARA_TEST_HOME}/cache
    XDG_CONFIG_HOME=${KIVARA_TEST_HOME}/config
    XDG_DATA_HOME=${KIVARA_TEST_HOME}/data
    QT_QUICK_BACKEND=software
    KIVARA_SOURCE_DIR=${PROJECT_SOURCE_DIR}
    KIVARA_BIN_DIR=${KIVARA_BIN_DIR}
    # Tests find the image-format plug-ins in bin/imageformats, as the program does beside itself.
    QT_PLUGIN_PATH=${KIVARA_BIN_DIR})
  if(NOT "x11" IN_LIST T_LABELS)
    list(APPEND env QT_QPA_PLATFORM=offscreen)
  endif()
  list(APPEND env ${T_ENVIRONMENT})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

file(MAKE_DIRECTORY ${KIVARA_TEST_HOME}/runtime)
file(CHMOD ${KIVARA_TEST_HOME}/runtime PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# kivara_add_bench(<name> SOURCES <files...> [LIBS <targets...>])
# A benchmark program in build/bench/, linked to kivara_core; it prints its figures.
# Not registered with CTest: figures are read, never asserted.
function(kivara_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE kivara_core ${B_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  kivara_warnings(${name})
endfunction()
