# Runs the command-line tool on a record, on a missing file and on a text without a record, and checks
# what it prints and its exit status.
function(run_quorvel expected_status)
  execute_process(COMMAND ${QUORVEL} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expected_status)
    message(FATAL_ERROR "quorvel ${ARGN}: status ${status}, expected ${expected_status}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_text text wanted)
  string(FIND "${text}" "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "\"${wanted}\" missing in:\n${text}")
  endif()
endfunction()

run_quorvel(0 info ${DATA}/corpus/sabaki-japanese-shiftjis-ca-late.sgf)
expect_text("${out}" "● 井山 裕太 | ○ 山下 敬吾\n MainMoves : 2\n")
expect_text("${out}" "setup stones: 0\nmain-line moves: 2\nvariations: 0\n")

run_quorvel(0 info ${DATA}/corpus/kaya-kgs-cgoban3-review-chat-escapes.sgf)
expect_text("${out}" "setup stones: 3\nmain-line moves: 123\nvariations: 42\n")

run_quorvel(2 info ${DATA}/corpus/no-such-record.sgf)
expect_text("${err}" "cannot open")

run_quorvel(2 info ${DATA})
expect_text("${err}" "cannot read")

run_quorvel(1 info ${DATA}/corpus/littlego-bad-not-an-sgf.sgf)
expect_text("${err}" "no game record")

run_quorvel(0 --help)
expect_text("${out}" "info RECORD.sgf")

run_quorvel(2 frobnicate)
run_quorvel(2 info)
