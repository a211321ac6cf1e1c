# The stock textures, backgrounds and sounds of the choosers' folders.
# `cmake --build B --target stock-media` rewrites data/Textures,
# data/Backgrounds and data/Sounds in the source tree.
add_library(kvstockmedia STATIC ${CMAKE_CURRENT_LIST_DIR}/StockMedia.cpp)
target_include_directories(kvstockmedia PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kvstockmedia PUBLIC export assets platform)

add_executable(kelvano-stockgen ${CMAKE_CURRENT_LIST_DIR}/kelvano-stockgen.cpp)
target_link_libraries(kelvano-stockgen PRIVATE kvstockmedia)

add_custom_target(stock-media
  COMMAND kelvano-stockgen ${CMAKE_SOURCE_DIR}/data
  DEPENDS kelvano-stockgen
  COMMENT "Writing the stock textures, backgrounds and sounds into data/")
