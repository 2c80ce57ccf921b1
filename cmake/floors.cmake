# The floor plan of src/, lowest first. Each folder is a library of its own
# and may use only its own folder and the folders on the floors below it:
#   0. layer/ (the windowing layer's message model, which knows no backend
#      and no toolkit), and text/ beside it (how numbers are read from text
#      and written as text, and the table's columns)
#   1. state/
#   2. resources/
#   3. output/ and view/ (the pictures of a table; of the floors below it
#      needs only text/)
#   4. convert/ and files/
#   5. shell/, and view_qt/ beside it (the pictures drawn with Qt and the
#      table's window, which the Qt backend shows; the shell never sees it)
#   6. the backends backends/console, backends/qt and backends/win32
#   7. the programs cli/, desktop/ and plot/
# The build enforces it: each library compiles with an include root of its
# own in the build tree that holds, as links to the headers, only what it may
# see, so that an include against the grain is a missing file. A library's
# root stays its own (it does not pass to the libraries that link it).
set(QUORVAL_FLOORS
  layer:0 text:0 state:1 resources:2 output:3 view:3 convert:4 files:4 shell:5 view_qt:5
  backends/console:6 backends/qt:6 backends/win32:6 cli:7 desktop:7 plot:7)

function(quorval_floor_of folder result)
  foreach(entry IN LISTS QUORVAL_FLOORS)
    string(REPLACE ":" ";" parts ${entry})
    list(GET parts 0 name)
    if(name STREQUAL folder)
      list(GET parts 1 floor)
      set(${result} ${floor} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "src/${folder} is on no floor of cmake/floors.cmake")
endfunction()

# Gives the target the include root of the folder's floor.
function(quorval_include_root target folder)
  quorval_floor_of(${folder} floor)
  set(root ${CMAKE_BINARY_DIR}/floors/${target})
  file(REMOVE_RECURSE ${root})
  foreach(entry IN LISTS QUORVAL_FLOORS)
    string(REPLACE ":" ";" parts ${entry})
    list(GET parts 0 other)
    list(GET parts 1 otherFloor)
    if(other STREQUAL folder OR otherFloor LESS floor)
      file(MAKE_DIRECTORY ${root}/${other})
      file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${other}/*.h)
      foreach(header IN LISTS headers)
        get_filename_component(name ${header} NAME)
        # A copy where the file system has no links (made afresh at each configure).
        file(CREATE_LINK ${header} ${root}/${other}/${name} COPY_ON_ERROR SYMBOLIC)
      endforeach()
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
  add_dependencies(${target} quorval_include_check)
endfunction()

# A library of one folder: its sources (without the programs' mains), its
# include root, and the libraries it links.
function(quorval_library target folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cc)
  list(FILTER sources EXCLUDE REGEX "/main\\.cc$")
  add_library(${target} STATIC ${sources})
  quorval_include_root(${target} ${folder})
  target_link_libraries(${target} PUBLIC ${ARGN})
endfunction()

# An include written relative to the including file's own folder would
# reach past the include roots ('../backends/qt/qt_backend.h' from layer/):
# every source must name its includes from src/.
file(GLOB_RECURSE QUORVAL_ALL_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/src/*.cc)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/floors/includes-checked
  COMMAND ${CMAKE_COMMAND} -DSOURCES=${CMAKE_SOURCE_DIR}/src
          -P ${CMAKE_SOURCE_DIR}/cmake/check_includes.cmake
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/floors/includes-checked
  DEPENDS ${QUORVAL_ALL_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/check_includes.cmake
  COMMENT "Checking that src/ names its includes from src/")
add_custom_target(quorval_include_check DEPENDS ${CMAKE_BINARY_DIR}/floors/includes-checked)
