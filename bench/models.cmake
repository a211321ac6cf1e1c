# Model readers side by side with assimp (OBJ) and lib3ds (3DS), both from
# Debian (libassimp-dev, lib3ds-dev; lib3ds has no pkg-config file).
pkg_check_modules(ASSIMP REQUIRED IMPORTED_TARGET assimp)
find_library(LIB3DS_LIBRARY 3ds REQUIRED)
find_path(LIB3DS_INCLUDE_DIR lib3ds/file.h REQUIRED)
kv_bench(bench_models
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ModelBench.cpp
  LIBS assets kvmodelgen PkgConfig::ASSIMP ${LIB3DS_LIBRARY})
target_include_directories(bench_models PRIVATE ${LIB3DS_INCLUDE_DIR})
