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
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  # Paths a test needs are compiled in: a list in ENVIRONMENT would be split
  # into separate properties on its way through test discovery.
  target_compile_definitions(${T_NAME} PRIVATE TESS_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                               TESS_BINARY_DIR="${CMAKE_BINARY_DIR}")
endfunction()

# tess_add_fuzz_target(NAME name SOURCE file.cpp LIBS ...)
# The source defines LLVMFuzzerTestOneInput. Every build makes name_replay,
# which feeds each file of fuzz/corpus/name/ to it, and a ctest that runs it;
# the fuzz preset also builds the libFuzzer binary `name`.
function(tess_add_fuzz_target)
  cmake_parse_arguments(F "" "NAME;SOURCE" "LIBS" ${ARGN})
  add_executable(${F_NAME}_replay ${F_SOURCE} ${CMAKE_SOURCE_DIR}/fuzz/replaymain.cpp)
  target_link_libraries(${F_NAME}_replay PRIVATE ${F_LIBS})
  add_test(NAME ${F_NAME}_corpus
           COMMAND ${F_NAME}_replay ${CMAKE_SOURCE_DIR}/fuzz/corpus/${F_NAME})
  set_tests_properties(${F_NAME}_corpus PROPERTIES LABELS unit ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(TESS_FUZZ)
    add_executable(${F_NAME} ${F_SOURCE})
    target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  endif()
endfunction()
