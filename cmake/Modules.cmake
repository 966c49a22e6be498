# Every module is the .cpp files of its folders, picked up by glob so that adding a
# file needs no edit here.
function(vs_sources out)
  set(result)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND result ${found})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(vs_warnings target)
  target_compile_options(${target} PRIVATE ${VS_WARNINGS})
endfunction()

# A static library of the .cpp files in the given folders (an empty one while none exist).
function(vs_library name)
  vs_sources(src ${ARGN})
  if(NOT src)
    set(empty ${CMAKE_BINARY_DIR}/empty_${name}.cpp)
    file(WRITE ${empty} "// no sources yet\n")
    set(src ${empty})
  endif()
  add_library(${name} STATIC ${src})
  target_compile_options(${name} PRIVATE ${VS_WARNINGS})
endfunction()
