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

# Finding what the build needs: each stops the configure step with one line that names the
# Debian package to install when the thing is missing.
function(vs_missing package what)
  message(FATAL_ERROR "Missing ${what}: install the Debian package ${package} (scripts/setup-deps installs everything)")
endfunction()

function(vs_require_pkgconfig prefix module package)
  find_package(PkgConfig QUIET)
  if(NOT PkgConfig_FOUND)
    vs_missing(pkg-config "pkg-config")
  endif()
  pkg_check_modules(${prefix} QUIET IMPORTED_TARGET GLOBAL ${module})
  if(NOT ${prefix}_FOUND)
    vs_missing(${package} "${module} (pkg-config module)")
  endif()
endfunction()

function(vs_require_header var header package)
  find_path(${var} ${header})
  if(NOT ${var})
    vs_missing(${package} "header ${header}")
  endif()
endfunction()

function(vs_require_library var name package)
  find_library(${var} ${name})
  if(NOT ${var})
    vs_missing(${package} "library ${name}")
  endif()
endfunction()
