# One static library per source folder. A folder's sources are globbed so that
# adding a file needs no edit here; a folder without sources yet becomes an
# interface target so that its dependants link all the same.
function(kv_layer name)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${name}/*.cpp ${CMAKE_SOURCE_DIR}/${name}/*.c)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_DEPS})
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_DEPS})
  endif()
endfunction()

# GL providers. A test binary resolves every gl* symbol to OSMesa, so OSMesa
# comes before GLU and GL on its link line.
set(KV_GL_HEADLESS PkgConfig::OSMESA PkgConfig::GLU OpenGL::OpenGL)
set(KV_GL_WINDOW PkgConfig::GLU OpenGL::OpenGL OpenGL::GLX)

# Headless executables (tools, benchmarks, tests): OSMesa is loaded ahead of
# the GL dispatch library, else gl* calls go nowhere and frames come out black.
# Without the sanitizers the compiler links with --as-needed, which drops a
# provider that comes on the line before the static libraries calling it; all
# three are kept wherever they stand.
set(KV_GL_HEADLESS_KEEP "SHELL:-Wl,--push-state,--no-as-needed -lOSMesa -lGLU -lOpenGL -Wl,--pop-state")
function(kv_link_headless_gl target)
  target_link_libraries(${target} PRIVATE ${KV_GL_HEADLESS})
  target_link_options(${target} PRIVATE ${KV_GL_HEADLESS_KEEP})
endfunction()
