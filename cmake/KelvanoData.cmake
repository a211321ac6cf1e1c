# The data folders the program finds beside itself. In the build tree they are
# links to the repository's data/ folders, made for every program that looks
# there (the program and the render tool), so both find the same files.
set(KV_DATA_FOLDERS Textures Backgrounds Sounds scenes ChartSlices Models help)

function(kv_link_data_folders target)
  foreach(dir ${KV_DATA_FOLDERS})
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E create_symlink ${CMAKE_SOURCE_DIR}/data/${dir} $<TARGET_FILE_DIR:${target}>/${dir}
      VERBATIM)
  endforeach()
endfunction()
