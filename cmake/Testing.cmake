# GoogleTest from Debian's source package, built for whichever target this tree is.
enable_testing()
set(VMD_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  # GoogleTest's own warnings are not ours to fix.
  set(_vmd_saved_options ${CMAKE_CXX_FLAGS})
  add_subdirectory(${VMD_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main gmock gmock_main)
    if(TARGET ${t})
      target_compile_options(${t} PRIVATE -w)
    endif()
  endforeach()
endif()
include(GoogleTest)

# vmd_add_test(NAME name SOURCES ... LIBS ... LABELS ...)
# One GoogleTest executable, registered with CTest test by test. The Win32 build
# runs it under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
function(vmd_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gmock gtest_main)
  if(VMD_WIN32)
    set(label wine)
  else()
    set(label native)
  endif()
  # Test discovery would run every test binary under Wine at build time; the
  # list is read when CTest runs instead.
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES TIMEOUT 120)
  # A list-valued property loses its separators on its way through test
  # discovery (only the first label would arrive), so the labels are set by a
  # script of our own that CTest reads after the discovered tests.
  set(labels ${label} ${T_LABELS})
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_labels.cmake)
  file(WRITE ${script}
    "foreach(test IN LISTS ${T_NAME}_TESTS)\n"
    "  set_tests_properties(\"\${test}\" PROPERTIES LABELS \"${labels}\")\n"
    "endforeach()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
