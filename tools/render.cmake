# Headless render tool used by tests and benchmarks: reads a scene file, sets
# a frame, draws it on OSMesa with 0, 4 or 8 anti-aliasing passes and writes a
# PNG. Not a user feature.
add_executable(kelvano-render ${CMAKE_CURRENT_LIST_DIR}/kelvano-render.cpp)
target_link_libraries(kelvano-render PRIVATE charts scene assets)
kv_link_headless_gl(kelvano-render)
