# The last install step of a package's component, run by CMake in its staging folder ROOT:
# SHA256SUMS lists the SHA-256 of every file as it goes into the zip.
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
