# Scene files: the ".apn" reader (and the writer over what it read). Seeds are
# files the writer produced (fuzz/seeds/scenefile/; tests/scenefile checks that
# each still reads back to the same bytes).
kv_fuzz(fuzz_scenefile
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_scenefile.cpp
  LIBS charts scene ${KV_GL_HEADLESS}
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/scenefile)
