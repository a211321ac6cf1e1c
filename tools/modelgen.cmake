# Model writer (3DS, OBJ/MTL) for the chart part models, test fixtures and
# benchmark meshes. `cmake --build B --target chartslice-models` regenerates
# data/ChartSlices/cyl10x.3ds and sphere10x.3ds in the source tree.
add_library(kvmodelgen STATIC ${CMAKE_CURRENT_LIST_DIR}/ModelGen.cpp)
target_include_directories(kvmodelgen PUBLIC ${CMAKE_SOURCE_DIR})

add_executable(kelvano-modelgen ${CMAKE_CURRENT_LIST_DIR}/kelvano-modelgen.cpp)
target_link_libraries(kelvano-modelgen PRIVATE kvmodelgen platform)

add_custom_target(chartslice-models
  COMMAND kelvano-modelgen chartslices ${CMAKE_SOURCE_DIR}/data/ChartSlices
  DEPENDS kelvano-modelgen
  COMMENT "Writing data/ChartSlices/cyl10x.3ds and sphere10x.3ds")
