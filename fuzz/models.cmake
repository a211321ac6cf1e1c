# Model readers: OBJ, MTL (through a fixed OBJ) and 3DS. The readers' sources
# are compiled into the targets so that libFuzzer sees their coverage. Seeds
# are small files written by tools/kelvano-modelgen (fuzz/seeds/<format>/).
set(kv_obj_sources ${CMAKE_SOURCE_DIR}/assets/ObjModel.cpp ${CMAKE_SOURCE_DIR}/assets/ModelFileText.cpp)
kv_fuzz(fuzz_obj
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_obj.cpp ${kv_obj_sources}
  LIBS assets ${KV_GL_HEADLESS}
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/obj)
kv_fuzz(fuzz_mtl
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_mtl.cpp ${kv_obj_sources}
  LIBS assets ${KV_GL_HEADLESS}
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/mtl)
kv_fuzz(fuzz_3ds
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_3ds.cpp ${CMAKE_SOURCE_DIR}/assets/Model3DS.cpp
  LIBS assets ${KV_GL_HEADLESS}
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/3ds)
