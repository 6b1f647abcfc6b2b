# The Windows builds of the deliverables, made with MinGW-w64 from this same tree within the Linux build.
# i686 is what ships; x86_64 is what Wine runs here. The tests on the programs they make are registered here too.
#
# For tests registered elsewhere: ZOV_VELTRASK_EXE_I686 and ZOV_VELTRASK_EXE_X86_64 name the two Veltrask.exe;
# the paths are fixed, so a test added before this file is included may spell them out as well.
include(ExternalProject)

option(ZOV_WINDOWS_BUILDS "Also build the deliverables for Windows with MinGW-w64 (i686 and x86_64)" ON)

set(ZOV_VELTRASK_EXE_I686 ${CMAKE_BINARY_DIR}/windows-i686/uninstaller/Veltrask.exe)
set(ZOV_VELTRASK_EXE_X86_64 ${CMAKE_BINARY_DIR}/windows-x86_64/uninstaller/Veltrask.exe)

if(NOT ZOV_WINDOWS_BUILDS)
  return()
endif()

foreach(arch i686 x86_64)
  find_program(ZOV_MINGW_CXX_${arch} ${arch}-w64-mingw32-g++)
  if(NOT ZOV_MINGW_CXX_${arch})
    message(FATAL_ERROR "${arch}-w64-mingw32-g++ is missing (package g++-mingw-w64-${arch}); "
                        "configure with -DZOV_WINDOWS_BUILDS=OFF to leave the Windows builds out")
  endif()
  find_program(ZOV_MINGW_OBJDUMP_${arch} ${arch}-w64-mingw32-objdump REQUIRED)
  find_program(ZOV_MINGW_WINDRES_${arch} ${arch}-w64-mingw32-windres REQUIRED)

  # Rebuilt on every build of the outer tree: the inner build's own dependency tracking decides what is stale.
  ExternalProject_Add(windows_${arch}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    PREFIX ${CMAKE_BINARY_DIR}/windows-${arch}-steps
    BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-${arch}.cmake
    BUILD_ALWAYS TRUE
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/windows-${arch}/uninstaller/Veltrask.exe)
endforeach()

set(zov_windows_tests ${PROJECT_SOURCE_DIR}/tests/windows)

add_test(NAME windows_imports_i686
  COMMAND bash ${zov_windows_tests}/check_imports.sh ${ZOV_VELTRASK_EXE_I686}
          ${PROJECT_SOURCE_DIR}/platform/windows/allowed_imports.txt ${ZOV_MINGW_OBJDUMP_i686})
add_test(NAME windows_cpu_i686
  COMMAND bash ${zov_windows_tests}/check_cpu.sh ${ZOV_VELTRASK_EXE_I686} ${ZOV_MINGW_OBJDUMP_i686})
add_test(NAME windows_headers_i686
  COMMAND bash ${zov_windows_tests}/check_headers.sh ${ZOV_VELTRASK_EXE_I686} i686
          ${ZOV_MINGW_OBJDUMP_i686} ${ZOV_MINGW_WINDRES_i686})
add_test(NAME windows_headers_x86_64
  COMMAND bash ${zov_windows_tests}/check_headers.sh ${ZOV_VELTRASK_EXE_X86_64} x86_64
          ${ZOV_MINGW_OBJDUMP_x86_64} ${ZOV_MINGW_WINDRES_x86_64})
set_tests_properties(windows_imports_i686 windows_cpu_i686 windows_headers_i686 windows_headers_x86_64
  PROPERTIES LABELS windows TIMEOUT 60)

add_test(NAME wine_smoke_x86_64
  COMMAND bash ${zov_windows_tests}/wine_smoke.sh ${ZOV_VELTRASK_EXE_X86_64} ${CMAKE_BINARY_DIR}/wine-smoke)
set_tests_properties(wine_smoke_x86_64 PROPERTIES LABELS wine TIMEOUT 120)
