# cmake -DHELP2MAN=... -DPROGRAM=... -DINCLUDE=... -DCOMMANDS="a;b" -DOUTPUT=... -P Help2Man.cmake
#
# Runs help2man on PROGRAM with the hand-written INCLUDE. For a program with
# commands, each command's --help is added to the include as a COMMANDS
# section, so the page lists every command's options.

# The output of PROGRAM ARGS..., escaped to be shown as it is printed.
function(printed_text out)
  execute_process(
    COMMAND ${PROGRAM} ${ARGN}
    OUTPUT_VARIABLE text
    RESULT_VARIABLE result
    TIMEOUT 30)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGN} failed: ${result}")
  endif()
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(READ ${INCLUDE} include_text)
if(COMMANDS)
  # help2man reads a single "Usage:" line; the overview's call forms, one
  # command after the other, make the synopsis instead.
  printed_text(overview --help)
  string(FIND "${overview}" "\n\n" end)
  string(SUBSTRING "${overview}" 0 ${end} synopsis)
  string(REGEX REPLACE "^usage: " "       " synopsis "${synopsis}")
  string(REGEX REPLACE "(^|\n)       " "\\1" synopsis "${synopsis}")
  string(APPEND include_text "\n[SYNOPSIS]\n.nf\n${synopsis}\n.fi\n\n[COMMANDS]\n")
  foreach(command IN LISTS COMMANDS)
    printed_text(help ${command} --help)
    string(APPEND include_text ".SS ${command}\n.nf\n${help}.fi\n")
  endforeach()
endif()

get_filename_component(name ${OUTPUT} NAME)
set(merged_include "${OUTPUT}.h2m")
file(WRITE ${merged_include} "${include_text}")
execute_process(
  COMMAND ${HELP2MAN} --no-info --include ${merged_include} --output ${OUTPUT} ${PROGRAM}
  RESULT_VARIABLE result
  ERROR_VARIABLE errors
  TIMEOUT 60)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "help2man could not make ${name} from ${PROGRAM}: ${errors}")
endif()
