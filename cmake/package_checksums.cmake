# The last install step of a package's component, run by CMake in its staging folder ROOT: every
# file and folder gets the source's time (SOURCE_DATE_EPOCH, else the earliest a zip records),
# and SHA256SUMS lists the SHA-256 of every file as it goes into the zip.
# Usage: cmake -DROOT=<folder> -P package_checksums.cmake
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${ROOT} ${ROOT}/*)
list(REMOVE_ITEM files SHA256SUMS)
list(SORT files)
set(sums "")
foreach(file IN LISTS files)
  file(SHA256 ${ROOT}/${file} sum)
  string(APPEND sums "${sum}  ${file}\n")
endforeach()
file(WRITE ${ROOT}/SHA256SUMS "${sums}")

set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
  set(epoch 315532800)
endif()
file(GLOB_RECURSE entries LIST_DIRECTORIES true ${ROOT}/*)
execute_process(COMMAND touch -h -d @${epoch} ${ROOT} ${entries} COMMAND_ERROR_IS_FATAL ANY)
