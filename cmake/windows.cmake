# The Windows desktop program: quorval.exe on the Win32 backend, with the
# menu, strings, version block and progress dialog compiled into it by
# windres from src/resources/quorval.rc (which a test keeps equal to the
# resources data).
enable_language(RC)

# The resources are data, which gains nothing from link-time optimisation;
# in it, the PE linker's plugin loses the sections of their inline names
# and warns ("no symbol for section").
set_target_properties(quorval_resources PROPERTIES INTERPROCEDURAL_OPTIMIZATION OFF)

quorval_library(quorval_win32 backends/win32 quorval_view quorval_resources quorval_state
                quorval_layer)
target_link_libraries(quorval_win32 PUBLIC user32 gdi32 comdlg32 comctl32)

add_executable(quorval WIN32 src/desktop/win32_main.cc src/resources/quorval.rc)
quorval_include_root(quorval desktop)
target_link_libraries(quorval PRIVATE quorval_shell quorval_win32)

if(QUORVAL_TESTS)
  # The Win32 backend's tests: the real windows driven by a person on a
  # thread of their own, through the platform's messages.
  file(GLOB QUORVAL_WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*_wintest.cc)
  add_executable(quorval_win32_tests ${QUORVAL_WIN32_TEST_SOURCES}
    ${CMAKE_SOURCE_DIR}/tests/win32/desktop_user.cc src/resources/quorval.rc
    ${CMAKE_SOURCE_DIR}/bench/log_generator.cc)
  target_include_directories(quorval_win32_tests PRIVATE
    ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(quorval_win32_tests PRIVATE quorval_shell quorval_win32 GTest::gtest
                        GTest::gtest_main)
  add_test(NAME quorval_win32_tests COMMAND quorval_win32_tests)
  set_tests_properties(quorval_win32_tests PROPERTIES TIMEOUT 600 LABELS win32)

  # The README's pictures of the Windows program (scripts/screenshots-windows).
  add_executable(quorval_screenshot_tour_win32 tests/win32/screenshot_tour.cc
    tests/win32/desktop_user.cc src/resources/quorval.rc ${CMAKE_SOURCE_DIR}/bench/log_generator.cc)
  target_include_directories(quorval_screenshot_tour_win32 PRIVATE
    ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(quorval_screenshot_tour_win32 PRIVATE quorval_shell quorval_win32)
endif()
