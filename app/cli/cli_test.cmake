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
expect_text("${out}" "setup stones: 3\nmain-line moves: 123\nvariations: 43\n")

run_quorvel(2 info ${DATA}/corpus/no-such-record.sgf)
expect_text("${err}" "cannot read")

run_quorvel(2 info ${DATA})
expect_text("${err}" "cannot read")

run_quorvel(1 info ${DATA}/corpus/littlego-bad-not-an-sgf.sgf)
expect_text("${err}" "no game record")

run_quorvel(0 --help)
expect_text("${out}" "info RECORD.sgf")

run_quorvel(2 frobnicate)
run_quorvel(2 info)

# Writing: the record written in either layout reads back with the same counts.
get_filename_component(work ${QUORVEL} DIRECTORY)
set(written ${work}/cli-written.sgf)
foreach(layout --nested --inline)
  file(REMOVE ${written})
  run_quorvel(0 write ${layout} ${DATA}/corpus/kaya-kgs-cgoban3-review-chat-escapes.sgf ${written})
  run_quorvel(0 info ${written})
  expect_text("${out}" "setup stones: 3\nmain-line moves: 123\nvariations: 43\n")
endforeach()
file(READ ${written} bytes HEX)
string(SUBSTRING "${bytes}" 0 4 start)
if(NOT start STREQUAL "283b")
  message(FATAL_ERROR "the written record does not start with \"(;\": ${start}")
endif()

run_quorvel(0 write ${DATA}/corpus/sabaki-japanese-shiftjis-ca-late.sgf)
expect_text("${out}" ";B[pd];W[dp]C[")

# The line to move 1, with the header of a position record.
run_quorvel(0 line --moves 1 ${DATA}/corpus/kaya-kgs-cgoban3-review-chat-escapes.sgf)
expect_text("${out}" "(;GM[1]FF[1]SZ[19]")
expect_text("${out}" "AB[")
run_quorvel(2 write ${DATA}/corpus/no-such-record.sgf)
run_quorvel(2 line --moves x ${DATA}/corpus/sabaki-japanese-shiftjis-ca-late.sgf)
run_quorvel(2 write ${DATA}/corpus/sabaki-japanese-shiftjis-ca-late.sgf ${work}/no-such-folder/out.sgf)
expect_text("${err}" "cannot write")
file(REMOVE ${written})

# Text boards: the golden diagrams of the engine tests, to a file and to the output (which ends with one
# more CR LF), and a text board read back as a record by info, write and line.
set(board ${work}/cli-board.txt)
file(REMOVE ${board})
run_quorvel(0 textboard --moves 150 ${DATA}/corpus/katrain-alphago-lee-long-commentary.sgf ${board})
file(READ ${board} written_board HEX)
file(READ ${DATA}/text_board/alphago_150.txt golden_board HEX)
if(NOT written_board STREQUAL "${golden_board}0d0a")
  message(FATAL_ERROR "quorvel textboard differs from tests/data/text_board/alphago_150.txt")
endif()
run_quorvel(0 info ${board})
expect_text("${out}" "setup stones: 0\nmain-line moves: 99\nvariations: 0\n")
run_quorvel(0 line ${board})
expect_text("${out}" "(;GM[1]FF[1]SZ[19]")
run_quorvel(0 write ${DATA}/text_board/marks_9.txt)
expect_text("${out}" "SZ[9]")
expect_text("${out}" "SQ[ba][bb]")
run_quorvel(2 textboard)
file(REMOVE ${board})

# A diagram text is read as the record it stands for.
file(WRITE ${board} "<<DiaData=SZ[9]/<SiroSaki>/AB[cc][gc]AW[cg];W[ee];B[tt];W[dg]>>\r\n")
run_quorvel(0 info ${board})
expect_text("${out}" "setup stones: 3\nmain-line moves: 3\n")
file(REMOVE ${board})

# The HTML page: titled after the record's file, the applet named for the board size, to a file or the output.
run_quorvel(0 html ${DATA}/corpus/sabaki-japanese-shiftjis-ca-late.sgf)
expect_text("${out}" "<TITLE>sabaki-japanese-shiftjis-ca-late</TITLE>")
expect_text("${out}" "CODE=\"Glimmet.ZarnShow.class\" WIDTH=454 HEIGHT=494>")
set(page ${work}/cli-page.html)
file(REMOVE ${page})
run_quorvel(0 html ${DATA}/corpus/littlego-setup-variations-9x9-ha3.sgf ${page})
file(READ ${page} bytes)
expect_text("${bytes}" "Glimmet.ZarnShow9.class")
expect_text("${bytes}" "</APPLET>")
run_quorvel(2 html)
