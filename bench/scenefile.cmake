# Scene files: reading and writing a 20,000-object ".apn" scene (MB/s).
kv_bench(bench_scenefile SOURCES ${CMAKE_CURRENT_LIST_DIR}/SceneFileBench.cpp LIBS scene)
