# The program's start-up and command line, run for real.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/empty)

execute_process(COMMAND ${OVGAME} --help RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "--input")
  message(FATAL_ERROR "--help failed (${rc}) or does not describe the input file: ${out}")
endif()

execute_process(COMMAND ${OVGAME} --frames x RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "a bad --frames value was accepted")
endif()

# A directory without game data: the open error of the first archive, and a
# non-zero exit status.
execute_process(COMMAND ${OVGAME} --data ${WORK}/empty --frames 5 --dump-state out.json
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "start-up without data ended with status 0")
endif()
string(FIND "${err}" "Cannot open file \"GFX\\person.wgw\"." at)
if(at EQUAL -1)
  message(FATAL_ERROR "expected the open error of GFX\\person.wgw, got: ${err}")
endif()
