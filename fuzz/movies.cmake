# The WAVE reader of the movie sound track; seeds are tiny files made by sox.
kv_fuzz(fuzz_wave
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_wave.cpp
  LIBS export
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/wave)
