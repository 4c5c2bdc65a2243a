# Resources appended to linked programs, and players made for a test.
#
# stellik_append_resources(OUTPUT <file> BINARY <executable-target-or-file>
#                          RESOURCES <NAME> <file> [<NAME> <file>...] [DEPENDS <target-or-file>...])
#   Writes <file> (mode 0755): the program followed by the named files as its resources.
#
# stellik_add_player(NAME <target-and-file-name> BINARY <executable-target>
#                    TEST <xml> SETTINGS <xml> PICTURES <folder>)
#   Makes ${CMAKE_BINARY_DIR}/<NAME>: the program without its debug information, the program's
#   resources (the global property STELLIK_PROGRAM_RESOURCES, filled by resources/) and, packed
#   by stellik-pack, the test with its settings and pictures. Rebuilt when any of them changes.
#   The debug information goes to ${CMAKE_BINARY_DIR}/<NAME>.debug, which debuggers find
#   through the player's debug link. Relative paths are taken from the calling folder. The demo
#   test is STELLIK_DEMO_TEST, STELLIK_DEMO_SETTINGS and STELLIK_DEMO_PICTURES.

set(STELLIK_DEMO_TEST ${CMAKE_CURRENT_LIST_DIR}/../demo/demo.xml)
set(STELLIK_DEMO_SETTINGS ${CMAKE_CURRENT_LIST_DIR}/../demo/settings.xml)
set(STELLIK_DEMO_PICTURES ${CMAKE_CURRENT_LIST_DIR}/../demo/pictures)
foreach(demoPath STELLIK_DEMO_TEST STELLIK_DEMO_SETTINGS STELLIK_DEMO_PICTURES)
  cmake_path(NORMAL_PATH ${demoPath})
endforeach()

function(stellik_append_resources)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "OUTPUT;BINARY" "RESOURCES;DEPENDS")
  list(LENGTH arg_RESOURCES count)
  math(EXPR odd "${count} % 2")
  if(NOT arg_OUTPUT OR NOT arg_BINARY OR odd)
    message(FATAL_ERROR "stellik_append_resources: OUTPUT, BINARY and NAME/file pairs needed")
  endif()
  set(pairs)
  set(files)
  while(arg_RESOURCES)
    list(POP_FRONT arg_RESOURCES name file)
    list(APPEND pairs "${name}=${file}")
    list(APPEND files "${file}")
  endwhile()
  set(programFile ${arg_BINARY})
  if(TARGET ${arg_BINARY})
    set(programFile $<TARGET_FILE:${arg_BINARY}>)
  endif()
  get_filename_component(outputName ${arg_OUTPUT} NAME)
  add_custom_command(OUTPUT ${arg_OUTPUT}
    COMMAND stellik-resources ${arg_OUTPUT} ${programFile} ${pairs}
    DEPENDS ${arg_BINARY} stellik-resources ${files} ${arg_DEPENDS}
    COMMENT "Appending resources to ${outputName}"
    VERBATIM)
endfunction()

function(stellik_add_player)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;BINARY;TEST;SETTINGS;PICTURES" "")
  foreach(required NAME BINARY TEST SETTINGS PICTURES)
    if(NOT arg_${required})
      message(FATAL_ERROR "stellik_add_player: ${required} is missing")
    endif()
  endforeach()
  foreach(path TEST SETTINGS PICTURES)
    get_filename_component(arg_${path} ${arg_${path}} ABSOLUTE)
  endforeach()
  # The program's resources are known once resources/ has been read, which may come after the
  # calling folder: the rules are made when the top folder is done.
  # (A deferred call reads its arguments' variables when it runs: the values go in literally.)
  cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]]
    CALL _stellik_make_player [[${arg_NAME}]] [[${arg_BINARY}]] [[${arg_TEST}]]
    [[${arg_SETTINGS}]] [[${arg_PICTURES}]])")
endfunction()

# The linked program of target binary, written to stripped without debug information or
# symbols (most of a linked program's size), which go to debugFile; the debug link that
# stripped carries names debugFile, to be found beside the program that is run.
function(_stellik_strip_program binary stripped debugFile)
  get_filename_component(outputName ${stripped} NAME)
  add_custom_command(OUTPUT ${stripped} ${debugFile}
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${binary}> ${debugFile}
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${debugFile}
            $<TARGET_FILE:${binary}> ${stripped}
    DEPENDS ${binary}
    COMMENT "Stripping ${outputName}"
    VERBATIM)
endfunction()

function(_stellik_make_player name binary test settings pictures)
  get_property(resources GLOBAL PROPERTY STELLIK_PROGRAM_RESOURCES)
  get_property(resourceTargets GLOBAL PROPERTY STELLIK_PROGRAM_RESOURCE_TARGETS)
  set(stripped ${CMAKE_BINARY_DIR}/player-parts/${name}-stripped)
  set(program ${CMAKE_BINARY_DIR}/player-parts/${name}-program)
  set(player ${CMAKE_BINARY_DIR}/${name})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/player-parts)
  # Resources go on after stripping: a strip of the finished player would cut them off.
  _stellik_strip_program(${binary} ${stripped} ${player}.debug)
  stellik_append_resources(OUTPUT ${program} BINARY ${stripped}
    RESOURCES ${resources} DEPENDS ${resourceTargets})
  file(GLOB_RECURSE pictureFiles CONFIGURE_DEPENDS ${pictures}/*)
  get_filename_component(testName ${test} NAME)
  # The rule's output is a stamp: a file named like its target would count as always stale.
  set(stamp ${CMAKE_BINARY_DIR}/player-parts/${name}.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND stellik-pack --player ${program} --test ${test} --settings ${settings}
            --pictures ${pictures} --output ${player}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${program} stellik-pack ${test} ${settings} ${pictureFiles}
    COMMENT "Packing ${testName} into ${name}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${stamp})
  set_property(TARGET ${name} APPEND PROPERTY ADDITIONAL_CLEAN_FILES ${player})
endfunction()
