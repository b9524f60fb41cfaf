# kivara_add_test(<name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>]
#                 [ENVIRONMENT <VAR=value...>] [TIMEOUT <seconds>])
#
# Builds a QtTest program linked to kivara_core and registers it with CTest.
# Tests run headless: offscreen platform and the software Qt Quick backend,
# with HOME and the XDG folders in a scratch folder of the build tree.
#
# How x11 tests get their display: a test labelled x11 runs on an X server of its
# own. CTest starts it through own-display.sh, which starts a fresh Xvfb (picking
# a free number with -displayfd, its own cookie in a private Xauthority), runs the
# test with DISPLAY and XAUTHORITY pointing at it and stops the server afterwards.
# Nothing else draws on that display, so focus, the active window and key events
# belong to that test alone and x11 tests can run beside each other and beside
# the rest of the suite. A server costs well under a second to start, far less
# than running every focus test serially behind a RESOURCE_LOCK on one display,
# which would leave a core idle on a two-core machine. Label any test that opens
# windows, takes focus or sends keys x11 and it gets this without more ado.
# Every other test sees an empty DISPLAY, so nothing it starts (Wine making a
# prefix, say) can open windows on a display that another test uses.
# A second CTest entry for an x11 test program runs it the same way:
#   add_test(NAME <name> COMMAND ${KIVARA_OWN_DISPLAY} $<TARGET_FILE:<program>>)
set(KIVARA_OWN_DISPLAY sh ${CMAKE_CURRENT_LIST_DIR}/own-display.sh)
set(KIVARA_TEST_HOME ${CMAKE_BINARY_DIR}/testhome)

function(kivara_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE kivara_core Qt5::Test ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  kivara_warnings(${name})
  if("x11" IN_LIST T_LABELS)
    add_test(NAME ${name} COMMAND ${KIVARA_OWN_DISPLAY} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
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
    list(APPEND env QT_QPA_PLATFORM=offscreen DISPLAY=)
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

# Tests that start the real program. Its single-instance segment is keyed through ftok(),
# which keeps only 16 bits of the key file's inode: two programs started at once from
# different temporary folders can take each other for a running instance and quit.
set(KIVARA_PROGRAM_LOCK kivara_program)
