# The package users install (make dist): the 32-bit module, the user's guide with its pictures,
# try.html beside the guide, which links to it, and SHA256SUMS over them, in one zip; the
# module's symbols file in a second. The install rules copy only what is already built, so that
# packaging the module builds nothing else: the page comes from the wasm32 build, and
# `make package` makes it first and names it here.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(QUOR_TRY_PAGE "" CACHE FILEPATH "try.html, which the package ships beside the guide")
install(TARGETS QuorNoteSpacing LIBRARY DESTINATION . COMPONENT package)
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.html DESTINATION . COMPONENT package)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/guide DESTINATION . COMPONENT package)
if(QUOR_TRY_PAGE)
  install(FILES ${QUOR_TRY_PAGE} DESTINATION . COMPONENT package)
else()
  # Packed by hand, without `make package`: say what is missing rather than ship without it.
  install(CODE "message(FATAL_ERROR \"no try.html to pack: make package makes it and sets QUOR_TRY_PAGE\")"
          COMPONENT package)
endif()
install(FILES $<TARGET_FILE_DIR:QuorNoteSpacing>/${QUOR_SYMBOLS_FILE} DESTINATION .
        COMPONENT symbols)
# Last in each component: the checksums of its files as they go into the zip, which
# `sha256sum -c SHA256SUMS` checks in the unpacked folder. The zips record no time of the build
# when CPack is given SOURCE_DATE_EPOCH: it then gives every entry that time.
foreach(component package symbols)
  install(CODE "
    set(root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=\${root}
                    -P ${PROJECT_SOURCE_DIR}/cmake/package_checksums.cmake
                    COMMAND_ERROR_IS_FATAL ANY)"
    COMPONENT ${component})
endforeach()

set(CPACK_PACKAGE_NAME QuorNoteSpacing)
set(CPACK_PACKAGE_VERSION ${QUOR_VERSION})
set(CPACK_GENERATOR ZIP)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL package symbols)
set(CPACK_PACKAGE_FILE_NAME QuorNoteSpacing-${QUOR_VERSION}-win32)
set(CPACK_ARCHIVE_PACKAGE_FILE_NAME ${CPACK_PACKAGE_FILE_NAME})
set(CPACK_ARCHIVE_SYMBOLS_FILE_NAME ${CPACK_PACKAGE_FILE_NAME}-symbols)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
