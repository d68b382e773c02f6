# Installs the build in BUILD_DIR into a fresh prefix under WORK_DIR, builds the example in
# EXAMPLE_DIR against that prefix alone, and runs it.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(installed include/trendix/Plot.h include/trendix/TrendixWidget.h
                  lib/cmake/Trendix/TrendixConfig.cmake)
  if(NOT EXISTS ${prefix}/${installed})
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()
# The internal headers stay in the source tree: the public ones must do without them.
file(GLOB_RECURSE internal ${prefix}/include/*/PlotLook.h ${prefix}/include/control/*)
if(internal)
  message(FATAL_ERROR "internal headers installed: ${internal}")
endif()

run(${CMAKE_COMMAND} -S ${EXAMPLE_DIR} -B ${WORK_DIR}/build -G Ninja
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
set(ENV{QT_QPA_PLATFORM} offscreen)
run(${WORK_DIR}/build/plot-example ${WORK_DIR}/example.png)
run(${WORK_DIR}/build/core-example)
if(NOT EXISTS ${WORK_DIR}/example.png)
  message(FATAL_ERROR "the example wrote no picture")
endif()
