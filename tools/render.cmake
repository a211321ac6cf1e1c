# Headless render tool used by tests and benchmarks: reads a scene file as the
# program opens it, sets a frame, draws it on OSMesa with 0, 4 or 8
# anti-aliasing passes and writes it as an image (or a range of frames as an
# animated GIF). Not a user feature.
add_executable(kelvano-render ${CMAKE_CURRENT_LIST_DIR}/kelvano-render.cpp ${CMAKE_CURRENT_LIST_DIR}/RenderOutput.cpp)
target_link_libraries(kelvano-render PRIVATE export charts scene assets)
kv_link_headless_gl(kelvano-render)
# Like the program, the tool finds its data folders beside itself (the Sounds
# folder for a movie's cues among them).
kv_link_data_folders(kelvano-render)
