# Model readers: OBJ, MTL (through a fixed OBJ) and 3DS, linked from the assets
# library (instrumented for coverage like every library of the fuzz build).
# Seeds are small files written by tools/kelvano-modelgen (fuzz/seeds/<format>/).
kv_fuzz(fuzz_obj
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_obj.cpp
  LIBS assets ${KV_GL_HEADLESS}
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/obj)
kv_fuzz(fuzz_mtl
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_mtl.cpp
  LIBS assets ${KV_GL_HEADLESS}
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/mtl)
kv_fuzz(fuzz_3ds
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_3ds.cpp
  LIBS assets ${KV_GL_HEADLESS}
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/3ds)
