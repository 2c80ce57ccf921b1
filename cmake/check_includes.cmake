# cmake -DSOURCES=<src> -P check_includes.cmake: fails when a file of src/
# includes another by a path relative to its own folder, which the compiler
# would find beside it, past the include roots of the floors.
file(GLOB_RECURSE files ${SOURCES}/*.h ${SOURCES}/*.cc)
set(found "")
foreach(file IN LISTS files)
  get_filename_component(folder ${file} DIRECTORY)
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" path "${line}")
    if(EXISTS ${folder}/${path})
      file(RELATIVE_PATH shown ${SOURCES} ${file})
      string(APPEND found "\n  src/${shown}: \"${path}\" (name it from src/)")
    endif()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "includes relative to the including file's folder:${found}")
endif()
