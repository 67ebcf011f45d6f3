# Helpers shared by the folders' CMakeLists.

# A folder joins the build once it has a CMakeLists.txt of its own.
macro(tess_add_folder dir)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endmacro()

# tess_add_test(NAME name LABEL unit|gui|interop SOURCES ... LIBS ...)
# One GoogleTest executable; every test in it becomes a ctest test with the
# label, run headless.
function(tess_add_test)
  cmake_parse_arguments(T "" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock tess_testmain)
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${T_LABEL}
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TESS_SOURCE_DIR=${CMAKE_SOURCE_DIR};TESS_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()
