# The Windows module as it ships. The linker's output is split on every link: its debug
# information goes into a symbols file beside it, and the module itself is stripped and given a
# debug link naming that file, so that a crash report from a user can still be read with the
# symbols file of the same build. Every check and suite uses the stripped module.
# objcopy writes the time of its run into the header of each file it writes, unless
# SOURCE_DATE_EPOCH gives one: 0, as the linker leaves it.
set(QUOR_SYMBOLS_FILE ${QUOR_ORIGINAL_FILENAME}.debug)
set(QUOR_OBJCOPY ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY})
add_custom_command(TARGET QuorNoteSpacing POST_BUILD
  COMMAND ${QUOR_OBJCOPY} --only-keep-debug ${QUOR_ORIGINAL_FILENAME} ${QUOR_SYMBOLS_FILE}
  COMMAND ${QUOR_OBJCOPY} --strip-all --add-gnu-debuglink=${QUOR_SYMBOLS_FILE}
          ${QUOR_ORIGINAL_FILENAME}
  WORKING_DIRECTORY $<TARGET_FILE_DIR:QuorNoteSpacing>
  COMMENT "Splitting the symbols of ${QUOR_ORIGINAL_FILENAME} into ${QUOR_SYMBOLS_FILE}"
  VERBATIM)
