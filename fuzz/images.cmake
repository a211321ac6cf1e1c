# Image readers, one target each; seeds are tiny files made by ImageMagick and
# netpbm (fuzz/seeds/<reader>/).
foreach(reader png jpeg tga sgi dib)
  kv_fuzz(fuzz_${reader}
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_${reader}.cpp
    LIBS assets
    SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/${reader})
endforeach()
