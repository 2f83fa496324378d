# Writes the lyrtool manual page from the program's own help:
#   cmake -DLYRTOOL=path -DVERSION=1.4 -DOUT=lyrtool.1 -P LyrManPage.cmake
# The page is "lyrtool --help" followed by "lyrtool COMMAND --help" for each
# command it lists, so it cannot drift from what the program says.

function(help_of out)
  execute_process(COMMAND ${LYRTOOL} ${ARGN} --help
                  OUTPUT_VARIABLE text ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lyrtool ${ARGN} --help failed (${rc}): ${err}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Help text as a no-fill troff block: backslashes escaped, and lines that
# would read as requests protected.
function(as_troff out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(REGEX REPLACE "\n+$" "" text "${text}")
  set(${out} ".nf\n${text}\n.fi\n" PARENT_SCOPE)
endfunction()

help_of(main)
string(REGEX MATCH "\nCommands:\n(.*)" _ "${main}")
set(listing "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "(^|\n)  [a-z][a-z-]*" names "${listing}")
if(NOT names)
  message(FATAL_ERROR "lyrtool --help lists no commands")
endif()

set(page ".TH LYRTOOL 1 \"\" \"LYR ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\nlyrtool \\- waveform files and the PGX\\-500 from the command line\n")
string(APPEND page ".SH SYNOPSIS\n.B lyrtool\n.I COMMAND\n[\\fIARGS\\fR]\n")
as_troff(body "${main}")
string(APPEND page ".SH DESCRIPTION\n${body}")
string(APPEND page ".SH COMMANDS\n")
foreach(entry IN LISTS names)
  string(STRIP "${entry}" command)
  help_of(text ${command})
  as_troff(body "${text}")
  string(APPEND page ".SS ${command}\n${body}")
endforeach()
string(APPEND page ".SH SEE ALSO\n.BR lyr (1)\n")
file(WRITE "${OUT}" "${page}")
