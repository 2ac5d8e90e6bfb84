# Runs mirado-cli as a user would and checks its output and exit status.
function(run_cli expect_status expect_out)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expect_status)
    message(FATAL_ERROR "mirado-cli ${ARGN}: exit ${status}, expected ${expect_status}\n${out}${err}")
  endif()
  if(NOT "${expect_out}" STREQUAL "" AND NOT out MATCHES "${expect_out}" AND NOT err MATCHES "${expect_out}")
    message(FATAL_ERROR "mirado-cli ${ARGN}: output does not match '${expect_out}'\n${out}${err}")
  endif()
endfunction()

set(START "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1")
run_cli(0 "\"nodes\":900" perft "${START}" 2)
run_cli(0 "\"ou_sita\":\\[5,9\\]" maps "${START}")
run_cli(0 "\"kiki_sita\":\\[\\[0,0,0,0,0,0,0,0,0\\]" maps "${START}")
run_cli(0 "\"tsumi_sita\":1" mate "4k4/9/9/9/9/9/4p4/4g4/4K4 b - 1")
run_cli(0 "\"sita_outechu\":0" mate "${START}")
run_cli(2 "missing king" maps "lnsg1gsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1")
run_cli(2 "rank 2" mate "lnsgkgsnl/1r5b/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1")
run_cli(2 "unknown letter" maps "lnsgkgsnl/1r5b1/ppppzpppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1")
run_cli(2 "^mirado-cli: a command is required \\(try 'mirado-cli --help'\\)\n$")

# A usage error is one line naming the command, the option and the value given, with
# exit 2, whichever command and kind of value it is.
run_cli(2 "^mirado-cli perft: DEPTH: 'two' [^\n]*\n$" perft "${START}" two)
run_cli(2 "^mirado-cli perft: DEPTH: '100' [^\n]*\n$" perft "${START}" 100)
run_cli(2 "^mirado-cli think: --level: '6' [^\n]*\n$" think "${START}" --level 6)
run_cli(2 "^mirado-cli think: --ichite: '5,0' [^\n]*\n$" think "${START}" --level 3 --ichite 5,0)
run_cli(2 "^mirado-cli match: --jobs: '0' [^\n]*\n$" match --a 1 --b 1 --jobs 0)
run_cli(2 "^mirado-cli analyse: --ms: '1e3' [^\n]*\n$" analyse none.棋譜 --ms 1e3)
run_cli(2 "^mirado-cli openings: --seed: '-1' [^\n]*\n$" openings 3 --seed -1)
run_cli(2 "^mirado-cli maps: SFEN: 'x' is not a position: [^\n]*\n$" maps x)
# One command's options are unknown to the others.
run_cli(2 "^mirado-cli think: unknown argument '--games'\n$" think "${START}" --level 1 --games 2)
run_cli(2 "^mirado-cli kifu: unknown argument '--level'\n$" kifu none.棋譜 --level 3)
run_cli(2 "^mirado-cli match: unknown argument '--candidates'\n$" match --a 1 --b 1 --candidates)
run_cli(2 "^mirado-cli play: unknown argument 'second.txt'\n$" play first.txt second.txt)
# Outside any command the line points to the help, as it may be a first try.
run_cli(2 "^mirado-cli: unknown command 'frobnicate' \\(try 'mirado-cli --help'\\)\n$" frobnicate)
run_cli(2 "^mirado-cli: --version takes no command \\(try 'mirado-cli --help'\\)\n$" --version kifu x.棋譜)

# Each command's --help shows its own options on stdout and exits 0.
foreach(case "think;--candidates;--games" "match;--games;--candidates" "kifu;--list;--nodes")
  list(GET case 0 command)
  list(GET case 1 own)
  list(GET case 2 other)
  execute_process(COMMAND ${CLI} ${command} --help RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT err STREQUAL "" OR NOT out MATCHES "^Usage: mirado-cli ${command} "
     OR NOT out MATCHES "${own}" OR out MATCHES "${other}")
    message(FATAL_ERROR "mirado-cli ${command} --help: exit ${status}\n${out}${err}")
  endif()
endforeach()

# Files that are no regular files are refused at once with one line and exit 2, never
# read until memory runs out or the program waits on them.
foreach(path /dev/zero ${CMAKE_CURRENT_LIST_DIR})
  run_cli(2 "^mirado-cli: cannot read ${path}: [^\n]*\n$" play ${path})
  run_cli(2 "^mirado-cli match: cannot read ${path}: [^\n]*\n$" match --a 1 --b 1 --openings ${path})
  run_cli(2 "^mirado-cli kifu: [^\n]*\n$" kifu ${path})
endforeach()
