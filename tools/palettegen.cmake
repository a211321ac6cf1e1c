# Palette pictures of the colour editors. `cmake --build B --target
# palette-bitmaps` rewrites res/bitmaps/*palette*.png in the source tree.
add_executable(kelvano-palettegen ${CMAKE_CURRENT_LIST_DIR}/kelvano-palettegen.cpp)
target_link_libraries(kelvano-palettegen PRIVATE properties_rules assets)

add_custom_target(palette-bitmaps
  COMMAND kelvano-palettegen ${CMAKE_SOURCE_DIR}/res/bitmaps
  DEPENDS kelvano-palettegen
  COMMENT "Writing the palette pictures into res/bitmaps")
