# The guide's instruction code table is what the tool prints from the
# interpreter's own table: a new or changed row must reach the guide.
file(READ ${DOC} doc)
set(begin "<!-- BEGIN GENERATED CODE TABLE -->\n")
set(end "<!-- END GENERATED CODE TABLE -->")
string(FIND "${doc}" "${begin}" at)
string(FIND "${doc}" "${end}" stop)
if(at EQUAL -1 OR stop EQUAL -1 OR stop LESS at)
  message(FATAL_ERROR "${DOC} lacks the generated code table markers")
endif()
string(LENGTH "${begin}" skip)
math(EXPR from "${at} + ${skip}")
math(EXPR length "${stop} - ${from}")
string(SUBSTRING "${doc}" ${from} ${length} inDoc)

execute_process(COMMAND ${QVXTOOL} script codes --markdown RESULT_VARIABLE rc OUTPUT_VARIABLE printed)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "qvxtool script codes --markdown failed (${rc})")
endif()
if(NOT inDoc STREQUAL printed)
  message(FATAL_ERROR "the code table in ${DOC} differs from 'qvxtool script codes --markdown'; "
                      "regenerate it with: scripts/update-docs.sh ${QVXTOOL}")
endif()
