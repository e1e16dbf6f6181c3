# Installs the build into a fresh folder, builds the consumer project against the installed
# package with the cross toolchain, and runs it under Wine from the package's bin folder.
set(work ${BUILD}/package-check)
file(REMOVE_RECURSE ${work})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}")
  endif()
  message(STATUS "${out}")
endfunction()
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${work}/install)
run(${CMAKE_COMMAND} -S ${SOURCE}/tests/consumer -B ${work}/consumer
    -DCMAKE_TOOLCHAIN_FILE=${SOURCE}/cmake/mingw-w64-x86_64.cmake
    -DCMAKE_PREFIX_PATH=${work}/install)
run(${CMAKE_COMMAND} --build ${work}/consumer)
file(COPY ${work}/consumer/consumer.exe DESTINATION ${work}/install/bin)
# Only the package's own bin folder: the DLL and the runtime must all be there.
set(ENV{WINEPATH} "")
run(wine ${work}/install/bin/consumer.exe)
