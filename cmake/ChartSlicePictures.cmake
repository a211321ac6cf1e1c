# Renders every picture scene of SCENES into OUT/<name>.bmp with RENDER.
# A sanitizer build of the tool would fail on the GL libraries' leaks at exit.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
file(GLOB scenes ${SCENES}/*.apn)
foreach(scene ${scenes})
  get_filename_component(name ${scene} NAME_WE)
  execute_process(COMMAND ${RENDER} ${scene} --aa 4 -o ${OUT}/${name}.bmp RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot render the picture of ${name}")
  endif()
endforeach()
