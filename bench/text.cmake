# 3D text: generating and compiling an extruded string, side by side with
# FTGL's extruded font where it is installed.
pkg_check_modules(FTGL IMPORTED_TARGET ftgl)
if(FTGL_FOUND)
  kv_bench(bench_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextBench.cpp LIBS assets PkgConfig::FTGL)
  target_compile_definitions(bench_text PRIVATE KV_HAVE_FTGL=1)
else()
  kv_bench(bench_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextBench.cpp LIBS assets)
endif()
