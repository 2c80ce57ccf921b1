# The Windows desktop program: quorval.exe on the Win32 backend, with the
# menu, strings, version block and progress dialog compiled into it by
# windres from src/resources/quorval.rc (which a test keeps equal to the
# resources data).
enable_language(RC)

# The resources are data, which gains nothing from link-time optimisation;
# in it, the PE linker's plugin loses the sections of their inline names
# and warns ("no symbol for section").
set_target_properties(quorval_resources PROPERTIES INTERPROCEDURAL_OPTIMIZATION OFF)

quorval_library(quorval_win32 platform/win32 quorval_resources quorval_state quorval_platform)
target_link_libraries(quorval_win32 PUBLIC user32 gdi32 comdlg32 comctl32)

add_executable(quorval WIN32 src/desktop/win32_main.cc src/resources/quorval.rc)
quorval_include_root(quorval desktop)
target_link_libraries(quorval PRIVATE quorval_shell quorval_win32)
