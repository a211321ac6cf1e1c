# Movie writing: Motion JPEG AVI against ffmpeg's mjpeg encoder on the same
# rendered frames, and uncompressed AVI and SWF lossless throughput.
kv_bench(bench_movies SOURCES ${CMAKE_CURRENT_LIST_DIR}/MovieBench.cpp LIBS export)
target_compile_definitions(bench_movies PRIVATE KV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  KV_BENCH_DIR="${CMAKE_CURRENT_BINARY_DIR}" KV_RENDER_TOOL="$<TARGET_FILE:kelvano-render>")
add_dependencies(bench_movies kelvano-render)
