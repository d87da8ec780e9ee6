# The web build's libraries: static WebAssembly builds of SDL2, zlib, libpng, libjpeg-turbo, Ogg
# Vorbis, TinyXML and stb_image made by tools/web/build_libs.sh into a prefix named by
# CMAKE_FIND_ROOT_PATH.
# They are given the desktop build's target names, so the rest of CMakeLists.txt is the same for
# both. WebGL 2 stands where OpenGL and EGL do; there are no threads (a page served by a plain
# static server gets no shared memory).
if(NOT CMAKE_FIND_ROOT_PATH)
  message(FATAL_ERROR "The web build needs the libraries' prefix: run tools/web/build_libs.sh, then "
                      "emcmake cmake -DCMAKE_FIND_ROOT_PATH=<prefix> (tools/web/build.sh does both)")
endif()
set(MM_TESTS OFF CACHE BOOL "Build the test binaries" FORCE)
# Our SDL2's headers must come before the SDL 1 headers Emscripten keeps among its system headers.
set(CMAKE_NO_SYSTEM_FROM_IMPORTED ON)

# SDL2 is built without its own CMake files (tools/web/build_libs.sh compiles it directly): its
# headers are in include/SDL2 of the prefix, as the desktop's are in /usr/include/SDL2.
list(GET CMAKE_FIND_ROOT_PATH 0 mm_web_prefix)
if(NOT EXISTS ${mm_web_prefix}/include/SDL2/SDL.h OR NOT EXISTS ${mm_web_prefix}/lib/libSDL2.a)
  message(FATAL_ERROR "No SDL2 in ${mm_web_prefix}: run tools/web/build_libs.sh ${mm_web_prefix}")
endif()
add_library(SDL2::SDL2 INTERFACE IMPORTED)
target_include_directories(SDL2::SDL2 INTERFACE ${mm_web_prefix}/include/SDL2)
target_link_libraries(SDL2::SDL2 INTERFACE ${mm_web_prefix}/lib/libSDL2.a)
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)

# Libraries the desktop build finds through pkg-config, under the names it gives them.
function(mm_web_library target header)
  find_path(${target}_INCLUDE ${header} REQUIRED)
  set(libs)
  foreach(name ${ARGN})
    find_library(${target}_${name} ${name} REQUIRED)
    list(APPEND libs ${${target}_${name}})
  endforeach()
  add_library(PkgConfig::${target} INTERFACE IMPORTED)
  target_include_directories(PkgConfig::${target} INTERFACE ${${target}_INCLUDE})
  target_link_libraries(PkgConfig::${target} INTERFACE ${libs})
endfunction()
mm_web_library(VORBIS vorbis/vorbisfile.h vorbisfile vorbis ogg)
mm_web_library(TINYXML tinyxml.h tinyxml)
mm_web_library(STB stb/stb_image.h stb)
get_target_property(stb_dir PkgConfig::STB INTERFACE_INCLUDE_DIRECTORIES)
set_target_properties(PkgConfig::STB PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${stb_dir}/stb")

add_library(OpenGL::OpenGL INTERFACE IMPORTED)
target_link_options(OpenGL::OpenGL INTERFACE -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2)
add_library(OpenGL::EGL INTERFACE IMPORTED)
add_library(Threads::Threads INTERFACE IMPORTED)

# The game's areas link as one group; wasm-ld, like lld, finds symbols across archives in any order
# and takes the group options only for compatibility.
set(CMAKE_LINK_GROUP_USING_RESCAN "LINKER:--start-group" "LINKER:--end-group")
set(CMAKE_LINK_GROUP_USING_RESCAN_SUPPORTED TRUE)

# The renderer's device takes its WebGL 2 / OpenGL ES 3.0 path.
add_compile_definitions(MM_GLES=1)

# The game's page: our own HTML around the program, with the demo folder packed beside it as the
# game folder (the root of the page's file system, where game.ini is looked for). The content
# tools are built too, so the whole tree is known to compile for the browser, but linked without
# optimising: nobody runs them there.
function(mm_web_targets)
  set(web ${CMAKE_SOURCE_DIR}/web)
  file(GLOB_RECURSE demo_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/demo/*)
  set_target_properties(meadowmark PROPERTIES SUFFIX ".html" ENABLE_EXPORTS OFF)
  target_link_options(meadowmark PRIVATE
    "SHELL:--shell-file ${web}/meadowmark.html"
    "SHELL:--pre-js ${web}/fs_fix.js" "SHELL:--pre-js ${web}/user_folder.js" "SHELL:--pre-js ${web}/sdl_glue.js"
    -sMINIFY_HTML=0
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=128MB
    -sFORCE_FILESYSTEM=1 -lidbfs.js
    "--preload-file=${CMAKE_SOURCE_DIR}/demo@/"
    "--exclude-file=*.log" "--exclude-file=log*.txt")
  set_property(TARGET meadowmark APPEND PROPERTY LINK_DEPENDS
    ${web}/meadowmark.html ${web}/fs_fix.js ${web}/user_folder.js ${web}/sdl_glue.js ${demo_files})
  # The file layer's tests also run under node, on the in-memory file system the page has: players,
  # progress and options must be saved whole there (a temporary file renamed over the old one) as
  # they are on a disk. GoogleTest is built from Debian's copy of its sources.
  if(EXISTS /usr/src/googletest/CMakeLists.txt)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_executable(web_test_files ${CMAKE_SOURCE_DIR}/tests/files/test_profiles.cpp
                   ${CMAKE_SOURCE_DIR}/tests/files/test_file_io.cpp ${CMAKE_SOURCE_DIR}/tests/files/test_ini.cpp)
    target_include_directories(web_test_files PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(web_test_files PRIVATE mm_files gtest_main)
    target_link_options(web_test_files PRIVATE -O0 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1
      "SHELL:--pre-js ${web}/fs_fix.js" "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/tools/web/node_test_env.js")
    set_property(TARGET web_test_files APPEND PROPERTY LINK_DEPENDS
      ${web}/fs_fix.js ${CMAKE_SOURCE_DIR}/tools/web/node_test_env.js)
  endif()
  file(GLOB tool_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
  foreach(src ${tool_srcs})
    get_filename_component(tool ${src} NAME_WE)
    target_link_options(${tool} PRIVATE -O0 -sALLOW_MEMORY_GROWTH=1)
  endforeach()
endfunction()
