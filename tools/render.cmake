# Headless render tool used by tests and benchmarks: reads a scene file as the
# program opens it, sets a frame, draws it on OSMesa with 0, 4 or 8
# anti-aliasing passes and writes it as an image (or a range of frames as an
# animated GIF). Not a user feature.
add_executable(kelvano-render ${CMAKE_CURRENT_LIST_DIR}/kelvano-render.cpp ${CMAKE_CURRENT_LIST_DIR}/RenderOutput.cpp)
target_link_libraries(kelvano-render PRIVATE export charts scene assets)
kv_link_headless_gl(kelvano-render)
# Like the program, the tool finds its data folders beside itself: in the
# build tree they are links to the repository's data/ folders.
foreach(dir Textures Backgrounds ChartSlices)
  add_custom_command(TARGET kelvano-render POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E create_symlink ${CMAKE_SOURCE_DIR}/data/${dir} $<TARGET_FILE_DIR:kelvano-render>/${dir}
    VERBATIM)
endforeach()
