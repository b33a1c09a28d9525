# Builds the 32-bit Quillmoss.exe for the 64-bit build's setup and release, in the 32-bit
# build's own folder (the windows-x86 preset's, unless QM_X86_BUILD_DIR names another):
#   cmake -DQM_SOURCE=<source> -DQM_X86_BUILD_DIR=<folder> -P build-x86.cmake
# A folder not configured yet is configured with the preset first; the build itself is the
# 32-bit build's own, so a later `cmake --build --preset windows-x86` redoes none of it.
if(NOT EXISTS ${QM_X86_BUILD_DIR}/CMakeCache.txt)
  execute_process(COMMAND ${CMAKE_COMMAND} --preset windows-x86 -B ${QM_X86_BUILD_DIR}
                  WORKING_DIRECTORY ${QM_SOURCE} COMMAND_ERROR_IS_FATAL ANY)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${QM_X86_BUILD_DIR} --target Quillmoss -j 2
                COMMAND_ERROR_IS_FATAL ANY)
