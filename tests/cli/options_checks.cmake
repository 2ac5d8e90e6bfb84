# The two programs' command lines as a user meets them: --help and --version, options
# they do not know, and where the window keeps its files with and without --user-data.
# Run with -DCLI=... -DGAME=... -DVERSION=... -DWORK=<scratch folder>.

# Runs a program with the given environment changes; sets status, out and err.
function(run_with env_args)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${env_args} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err WORKING_DIRECTORY ${cwd})
  set(status "${status}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

# Fails with `what` unless the rest of the arguments hold as an if() condition.
function(expect what)
  if(NOT (${ARGN}))
    message(FATAL_ERROR "${what}\nexit ${status}\nstdout: ${out}\nstderr: ${err}")
  endif()
endfunction()

# --help and --version answer on stdout with exit 0; a bad option gets the usage on
# stderr and exit 2. The window answers without a display: it never starts Qt for them.
set(cwd ${WORK})
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(no_display --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM)
foreach(program IN ITEMS ${CLI} ${GAME})
  get_filename_component(name ${program} NAME)
  foreach(flag IN ITEMS --help -h)
    run_with("${no_display}" ${program} ${flag})
    expect("${name} ${flag}: usage and options on stdout, exit 0"
      status EQUAL 0 AND out MATCHES "^Usage: ${name}" AND out MATCHES "--version" AND err MATCHES "^$")
  endforeach()
  run_with("${no_display}" ${program} --version)
  expect("${name} --version: name and version, exit 0"
    status EQUAL 0 AND out STREQUAL "${name} ${VERSION}\n" AND err MATCHES "^$")
  run_with("${no_display}" ${program} --no-such-option)
  if(program STREQUAL CLI)
    # The tool's usage errors are one line each, pointing to the help.
    expect("${name} --no-such-option: one line on stderr, exit 2"
      status EQUAL 2 AND out MATCHES "^$" AND err MATCHES "^${name}: [^\n]*--no-such-option[^\n]*--help[^\n]*\n$")
  else()
    expect("${name} --no-such-option: usage on stderr, exit 2"
      status EQUAL 2 AND out MATCHES "^$" AND err MATCHES "Usage: ${name}" AND err MATCHES "--help")
  endif()
endforeach()
foreach(args IN ITEMS "--screenshot" "--events" "--scale;abc" "--screenshot;x.png;--scale;9" "--user-data;extra")
  run_with("${no_display}" ${GAME} ${args})
  expect("mirado-shogi ${args}: a missing or bad value is a usage error"
    status EQUAL 2 AND err MATCHES "Usage: mirado-shogi")
endforeach()
# An event script that is a device or a folder is refused before the window opens.
foreach(path /dev/zero ${WORK})
  run_with("${no_display}" ${GAME} --events ${path})
  expect("mirado-shogi --events ${path}: one line on stderr, exit 2"
    status EQUAL 2 AND err MATCHES "^mirado-shogi: cannot read ${path}: [^\n]*\n$")
endforeach()
run_with("${no_display}" ${CLI} --version extra)
expect("mirado-cli --version extra: usage error" status EQUAL 2)

# Each start below has its own home, data, configuration and working folders.
set(ini "ミラド将棋.ini")
function(fresh_start)
  file(REMOVE_RECURSE ${WORK}/start)
  foreach(dir home cwd run)
    file(MAKE_DIRECTORY ${WORK}/start/${dir})
  endforeach()
  file(CHMOD ${WORK}/start/run DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  # The settings file is written only when an option changes: each start changes one.
  file(WRITE ${WORK}/start/option.events "menu BGM\n")
endfunction()
set(headless QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=${WORK}/start/run
             HOME=${WORK}/start/home)

function(expect_only_settings_in folder what)
  foreach(place home cwd data/mirado-shogi config/mirado-shogi)
    set(p ${WORK}/start/${place}/${ini})
    if(place STREQUAL folder)
      expect("${what}: the settings file belongs in ${folder}" EXISTS ${p})
    else()
      expect("${what}: no settings file in ${place}" NOT EXISTS ${p})
    endif()
  endforeach()
endfunction()

set(cwd ${WORK}/start/cwd)

# From a terminal nothing changes: the working directory holds the settings.
fresh_start()
run_with("${headless};XDG_DATA_HOME=${WORK}/start/data" ${GAME} --screenshot shot.png --events ${WORK}/start/option.events)
expect("plain start" status EQUAL 0 AND EXISTS ${cwd}/shot.png)
expect_only_settings_in(cwd "plain start")
expect("plain start: no data folder is made" NOT EXISTS ${WORK}/start/data)

# From the menu the data folder is made and used; a screenshot named relative to the
# working directory still lands there.
fresh_start()
run_with("${headless};XDG_DATA_HOME=${WORK}/start/data;XDG_CONFIG_HOME=${WORK}/start/config"
         ${GAME} --user-data --screenshot shot.png --events ${WORK}/start/option.events)
expect("--user-data" status EQUAL 0 AND EXISTS ${cwd}/shot.png)
expect_only_settings_in(data/mirado-shogi "--user-data")
foreach(dir data data/mirado-shogi)
  execute_process(COMMAND stat -c %a ${WORK}/start/${dir} OUTPUT_VARIABLE mode
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  expect("--user-data: ${dir} is made for the player alone (mode ${mode})" mode STREQUAL 700)
endforeach()

# A relative XDG_DATA_HOME does not count: the folder under the home folder is used.
fresh_start()
run_with("${headless};XDG_DATA_HOME=relative/data" ${GAME} --user-data --screenshot shot.png --events ${WORK}/start/option.events)
expect("--user-data, relative XDG_DATA_HOME" status EQUAL 0
  AND EXISTS "${WORK}/start/home/.local/share/mirado-shogi/${ini}")
expect("--user-data, relative XDG_DATA_HOME: nothing under the working directory"
  NOT EXISTS ${cwd}/relative)

# A data folder that cannot be made (a file stands in its way, alone or with the
# configuration folder blocked too): the player is told on stderr, the window starts
# with the defaults, and no settings file is written anywhere, not even in a second place.
foreach(blocked IN ITEMS data data+config)
  fresh_start()
  string(REPLACE "+" ";" files ${blocked})
  foreach(b IN LISTS files)
    file(WRITE ${WORK}/start/${b} "not a folder")
  endforeach()
  run_with("${headless};XDG_DATA_HOME=${WORK}/start/data;XDG_CONFIG_HOME=${WORK}/start/config"
           ${GAME} --user-data --screenshot ${WORK}/start/shot.png --events ${WORK}/start/option.events)
  expect("--user-data, ${blocked} blocked: the window still starts" status EQUAL 0 AND EXISTS ${WORK}/start/shot.png)
  expect("--user-data, ${blocked} blocked: one clear line on stderr"
    err MATCHES "mirado-shogi: cannot use the data folder ${WORK}/start/data/mirado-shogi \\(Not a directory\\)")
  expect_only_settings_in(none "--user-data, ${blocked} blocked")
  expect("--user-data, ${blocked} blocked: no configuration folder made" NOT IS_DIRECTORY ${WORK}/start/config)
endforeach()

# An event script read by the same reader as mirado-cli play: CR LF and CR alone end
# lines, blank and indented comment lines are skipped, and a bad line is named.
fresh_start()
file(WRITE ${cwd}/events.txt "# options\r\n  # the music off\r\t\r\n  menu BGM\rmenu START\r\n")
run_with("${headless}" ${GAME} --events events.txt --screenshot shot.png)
expect("--events with CR LF, CR and comments: played, exit 0" status EQUAL 0 AND EXISTS ${cwd}/shot.png)
file(READ ${cwd}/${ini} settings)
expect("--events with CR LF, CR and comments: the music was turned off" settings MATCHES "BGM=OFF")
file(WRITE ${cwd}/events.txt "menu START\n\n  menu NOPE\n")
run_with("${headless}" ${GAME} --events events.txt --screenshot shot2.png)
expect("--events with a bad line: named with its line, exit 2"
  status EQUAL 2 AND err MATCHES "events.txt line 3: unknown menu item 'NOPE'" AND NOT EXISTS ${cwd}/shot2.png)

file(REMOVE_RECURSE ${WORK})
