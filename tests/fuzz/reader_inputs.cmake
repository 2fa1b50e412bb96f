# The seeds and dictionaries of the reader fuzz targets, written into the build directory when
# it is configured. Each dictionary is taken from the sources that read the format, so that it
# follows them; the seeds are the project's own files.
#
# Seeds. MusicXML: the sample scores and the test scores. Archives: the same scores packed as a
# user's .mxl files are, with a container naming the score and bare. Document
# files: the sample documents and those in seeds/ here (braces, clef changes, grace and cue
# notes, nested tuplets, a saved layout). Scenarios: the sample scenarios.
set(QUOR_FUZZ_INPUTS ${CMAKE_CURRENT_BINARY_DIR}/inputs)
file(REMOVE_RECURSE ${QUOR_FUZZ_INPUTS})

# The words a source file compares with or looks up, found by `pattern` with one group.
function(quor_source_words out pattern)
  set(words "")
  foreach(source ${ARGN})
    file(READ ${PROJECT_SOURCE_DIR}/${source} text)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
    string(REGEX MATCHALL "${pattern}" found "${text}")
    foreach(match ${found})
      string(REGEX REPLACE "${pattern}" "\\1" word "${match}")
      list(APPEND words "${word}")
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES words)
  list(SORT words)
  set(${out} ${words} PARENT_SCOPE)
endfunction()

# One entry per line in double quotes; quotes and backslashes escaped.
function(quor_write_dictionary name)
  set(text "")
  foreach(token ${ARGN})
    string(REPLACE "\\" "\\\\" token "${token}")
    string(REPLACE "\"" "\\\"" token "${token}")
    string(APPEND text "\"${token}\"\n")
  endforeach()
  file(WRITE ${QUOR_FUZZ_INPUTS}/${name}.dict "${text}")
endfunction()

# MusicXML: the elements, attributes and values the reader looks for.
set(QUOR_MUSICXML_SOURCES simhost/app/musicxml_import.cpp simhost/app/musicxml_clef.cpp
                          simhost/app/musicxml_marks.cpp simhost/app/xml_values.cpp)
quor_source_words(elements "child[ren]*\\(\"([a-z-]+)\"\\)" ${QUOR_MUSICXML_SOURCES})
quor_source_words(attributes "attribute\\(\"([a-z-]+)\"\\)" ${QUOR_MUSICXML_SOURCES})
quor_source_words(values "[!=]= \"([A-Za-z0-9+-]+)\"" ${QUOR_MUSICXML_SOURCES})
quor_source_words(types "{\"([a-z0-9]+)\", k[A-Za-z]+}" simhost/app/xml_values.cpp)
# The values of beams, stems, placements and tuplet numbers.
quor_source_words(marks "{\"([a-z ]+)\", [A-Z][A-Za-z]+::[A-Za-z]+}" simhost/app/musicxml_marks.cpp)
set(musicxml "")
foreach(element ${elements} score-partwise part part-list)
  list(APPEND musicxml "<${element}>" "</${element}>" "<${element}/>")
endforeach()
foreach(attribute ${attributes})
  list(APPEND musicxml " ${attribute}=\"")
endforeach()
list(APPEND musicxml ${values} ${types} ${marks} "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" "<!DOCTYPE"
     "&amp\;" "-->")
quor_write_dictionary(musicxml ${musicxml})
quor_write_dictionary(mxl ${musicxml} META-INF/container.xml "<container>" "<rootfiles>"
                      "<rootfile" " full-path=\"" mimetype application/vnd.recordare.musicxml)
file(APPEND ${QUOR_FUZZ_INPUTS}/mxl.dict "\"PK\\x03\\x04\"\n\"PK\\x01\\x02\"\n\"PK\\x05\\x06\"\n")

# Document files: the header and items, the notation's values, clefs and record tags.
quor_source_words(header "kHeader = \"([^\"]+)\"" simhost/document/document_file.cpp)
quor_source_words(items "keyword == \"([a-z]+)\"" simhost/document/document_file.cpp)
quor_source_words(notes "{\"([a-z0-9]+)\", k[A-Za-z]+}" simhost/document/score_notation.cpp)
quor_source_words(clefs "k[A-Za-z]+Text = \"([A-Za-z]+)\"" simhost/document/clef.cpp)
file(GLOB document_headers RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/simhost/document/*.h)
quor_source_words(tags "MakeTag\\(\"(....)\"\\)" ${document_headers})
# The marks: stems, beam letters, slurs, ties and tuplet looks.
quor_source_words(markWords "{\"([a-z=]+)\", [A-Z][A-Za-z]+::[A-Za-z]+}"
                  simhost/document/mark_notation.cpp)
quor_write_dictionary(document ${header} ${items} ${notes} ${clefs} ${tags} G2 F4 C3 G2-8
                      "(3:2 " ")" "|" ":C4+E4" "#" "r" "R" "s" "g/" "c" 00000000 0x
                      "notavo-sim document 1" "notavo-sim document 2" ${markWords} "[" "]"
                      "," "~" "beam=" "beam=bcefk-" "slur+1" "slur-1" "^" "_" "bracket"
                      "nobracket")

# Scenarios: the steps, the controls and the task titles.
quor_source_words(verbs "VERB\\([A-Za-z]+, \"([a-z-]+)\"" simhost/scenario/scenario_verbs.h)
quor_source_words(controls "{\"([a-z-]+)\", k[A-Za-z]+}" simhost/scenario/scenario_script.cpp)
quor_source_words(tasks "{[0-9]+, [0-9]+, \"([^\"]+)\"" spacing/spacing_tasks.cpp)
set(scenario "")
foreach(verb ${verbs})
  string(REGEX REPLACE "^expect-" "expect " verb "${verb}")
  list(APPEND scenario "${verb}")
endforeach()
foreach(task ${tasks})
  list(APPEND scenario "\"${task}\"")
endforeach()
quor_write_dictionary(scenario ${scenario} ${controls} same-as changed-from none before enable
                      disable moved grown moved-with grown-with height cap designed size starting
                      empty 0x12050000 0x10000000 "\\n" "\\\"")

# The seeds: the scores of up to 16 KB. libFuzzer makes no input longer than its longest seed,
# and the long test scores (up to 48 KB) slow every run about threefold; the short ones already
# hold beams, ties, slurs, stems and tuplets, and broken ones of each.
file(GLOB QUOR_ALL_SCORES ${PROJECT_SOURCE_DIR}/samples/scores/*.musicxml
     ${PROJECT_SOURCE_DIR}/tests/app/scores/*.musicxml)
set(QUOR_SCORES "")
foreach(score ${QUOR_ALL_SCORES})
  file(SIZE ${score} size)
  if(size LESS_EQUAL 16384)
    list(APPEND QUOR_SCORES ${score})
  endif()
endforeach()
file(COPY ${QUOR_SCORES} DESTINATION ${QUOR_FUZZ_INPUTS}/musicxml)
file(MAKE_DIRECTORY ${QUOR_FUZZ_INPUTS}/mxl)
foreach(score ${QUOR_SCORES})
  get_filename_component(name ${score} NAME)
  get_filename_component(stem ${score} NAME_WE)
  set(packing ${CMAKE_CURRENT_BINARY_DIR}/packing/${stem})
  file(REMOVE_RECURSE ${packing})
  file(WRITE ${packing}/mimetype "application/vnd.recordare.musicxml")
  file(WRITE ${packing}/META-INF/container.xml
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<container><rootfiles>"
       "<rootfile full-path=\"score/${name}\" "
       "media-type=\"application/vnd.recordare.musicxml+xml\"/></rootfiles></container>\n")
  file(COPY ${score} DESTINATION ${packing}/score)
  file(COPY ${score} DESTINATION ${packing}/bare)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar cf ${QUOR_FUZZ_INPUTS}/mxl/${stem}.mxl --format=zip
            mimetype META-INF/container.xml score/${name}
    WORKING_DIRECTORY ${packing} COMMAND_ERROR_IS_FATAL ANY)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar cf ${QUOR_FUZZ_INPUTS}/mxl/${stem}_bare.mxl --format=zip
            ${name}
    WORKING_DIRECTORY ${packing}/bare COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(GLOB documents ${PROJECT_SOURCE_DIR}/samples/scores/*.ntv
     ${CMAKE_CURRENT_SOURCE_DIR}/seeds/*.ntv)
file(COPY ${documents} DESTINATION ${QUOR_FUZZ_INPUTS}/document)
file(GLOB scenarios ${PROJECT_SOURCE_DIR}/samples/scenarios/*.scenario)
file(COPY ${scenarios} DESTINATION ${QUOR_FUZZ_INPUTS}/scenario)
