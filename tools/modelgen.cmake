# Model writer (3DS, OBJ/MTL) for the chart part models, test fixtures and
# benchmark meshes. `cmake --build B --target chartslice-models` regenerates
# the chart shapes of data/ChartSlices in the source tree: each model and its
# 36 x 36 picture, rendered by kelvano-render.
add_library(kvmodelgen STATIC ${CMAKE_CURRENT_LIST_DIR}/ModelGen.cpp ${CMAKE_CURRENT_LIST_DIR}/ChartShapes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModelShapes.cpp)
target_include_directories(kvmodelgen PUBLIC ${CMAKE_SOURCE_DIR})

add_executable(kelvano-modelgen ${CMAKE_CURRENT_LIST_DIR}/kelvano-modelgen.cpp)
target_link_libraries(kelvano-modelgen PRIVATE kvmodelgen platform)

set(KV_SHAPE_SCENES ${CMAKE_BINARY_DIR}/chartslice-scenes)
add_custom_target(chartslice-models
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_SHAPE_SCENES}
  COMMAND kelvano-modelgen chartslices ${CMAKE_SOURCE_DIR}/data/ChartSlices
  COMMAND kelvano-modelgen chartslice-scenes ${CMAKE_SOURCE_DIR}/data/ChartSlices ${KV_SHAPE_SCENES}
  COMMAND ${CMAKE_COMMAND} -DRENDER=$<TARGET_FILE:kelvano-render> -DSCENES=${KV_SHAPE_SCENES}
          -DOUT=${CMAKE_SOURCE_DIR}/data/ChartSlices -P ${CMAKE_SOURCE_DIR}/cmake/ChartSlicePictures.cmake
  DEPENDS kelvano-modelgen kelvano-render
  COMMENT "Writing the chart shapes and their pictures into data/ChartSlices")

# `cmake --build B --target stock-models` regenerates data/Models: the model
# chooser's 52 models and their 36 x 36 thumbnails.
set(KV_MODEL_SCENES ${CMAKE_BINARY_DIR}/model-scenes)
add_custom_target(stock-models
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_MODEL_SCENES} ${CMAKE_SOURCE_DIR}/data/Models
  COMMAND kelvano-modelgen models ${CMAKE_SOURCE_DIR}/data/Models
  COMMAND kelvano-modelgen model-scenes ${CMAKE_SOURCE_DIR}/data/Models ${KV_MODEL_SCENES}
  COMMAND ${CMAKE_COMMAND} -DRENDER=$<TARGET_FILE:kelvano-render> -DSCENES=${KV_MODEL_SCENES}
          -DOUT=${CMAKE_SOURCE_DIR}/data/Models -P ${CMAKE_SOURCE_DIR}/cmake/ChartSlicePictures.cmake
  DEPENDS kelvano-modelgen kelvano-render
  COMMENT "Writing the stock models and their thumbnails into data/Models")
