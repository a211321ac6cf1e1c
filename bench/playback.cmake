# Playback (setFrame over 1,000 events x 5 plays) and anti-aliased drawing of
# a sample scene at 580 x 392 on OSMesa, levels 0, 4 and 8.
kv_bench(bench_playback SOURCES ${CMAKE_CURRENT_LIST_DIR}/PlaybackBench.cpp LIBS charts scene assets)
target_compile_definitions(bench_playback PRIVATE KV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
