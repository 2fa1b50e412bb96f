# The one version of the project is the one project() declares; everything that shows a version
# takes it from here: the module's version resource, the checks that read that resource back
# under Wine, notavo-sim --version and the package's name.
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    set(QUOR_VERSION_${part} 0)
  else()
    set(QUOR_VERSION_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
set(QUOR_VERSION ${PROJECT_VERSION})
# Windows shows a file's version with all four parts.
set(QUOR_FILE_VERSION
    ${QUOR_VERSION_MAJOR}.${QUOR_VERSION_MINOR}.${QUOR_VERSION_PATCH}.${QUOR_VERSION_TWEAK})
string(REPLACE "." "," QUOR_FILE_VERSION_COMMAS ${QUOR_FILE_VERSION})

# The texts of the version resource, in plain ASCII so that no code page can change them.
set(QUOR_PRODUCT_NAME "Quor Note Spacing")
set(QUOR_FILE_DESCRIPTION "Quor Note Spacing, a note spacing extension for Notavo")
set(QUOR_INTERNAL_NAME "QuorNoteSpacing")
set(QUOR_ORIGINAL_FILENAME "QuorNoteSpacing.nxt")
set(QUOR_COPYRIGHT "Copyright (C) 2026 the Quor Note Spacing authors")

# The same values for a program that compares them with what it reads.
set(QUOR_VERSION_DEFINITIONS
  QUOR_VERSION="${QUOR_VERSION}"
  QUOR_FILE_VERSION="${QUOR_FILE_VERSION}"
  QUOR_PRODUCT_NAME="${QUOR_PRODUCT_NAME}"
  QUOR_FILE_DESCRIPTION="${QUOR_FILE_DESCRIPTION}"
  QUOR_INTERNAL_NAME="${QUOR_INTERNAL_NAME}"
  QUOR_ORIGINAL_FILENAME="${QUOR_ORIGINAL_FILENAME}"
  QUOR_COPYRIGHT="${QUOR_COPYRIGHT}")
