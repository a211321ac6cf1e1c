# Animated GIF encoding of 100 rendered frames (580 x 392), side by side with
# ImageMagick and ffmpeg; the quantiser and the LZW coder measured apart.
find_library(KV_GIFLIB_BENCH gif REQUIRED)
kv_bench(bench_gif SOURCES ${CMAKE_CURRENT_LIST_DIR}/GifBench.cpp LIBS export assets ${KV_GIFLIB_BENCH})
target_compile_definitions(bench_gif PRIVATE KV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                           KV_RENDER_TOOL="$<TARGET_FILE:kelvano-render>")
add_dependencies(bench_gif kelvano-render)
