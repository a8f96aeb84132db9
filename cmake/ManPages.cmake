# Manual pages made from each program's --help and --version by help2man, with
# a hand-written part from res/man/. The programs answer both without a
# display, so the build needs none.
find_program(QLT_HELP2MAN help2man)
if(NOT QLT_HELP2MAN)
  message(WARNING "help2man was not found (Debian package help2man): "
                  "the manual pages quillgate(1) and quillgate-cli(1) are not made or installed.")
  return()
endif()

set(QLT_MAN_DIR "${CMAKE_CURRENT_BINARY_DIR}/man")
set(man_pages "")

# qlt_man_page(PROGRAM [COMMANDS ...]): the page of PROGRAM, and under COMMANDS
# the --help of each of the named commands.
function(qlt_man_page program)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "COMMANDS")
  set(page "${QLT_MAN_DIR}/${program}.1")
  set(include "${CMAKE_CURRENT_SOURCE_DIR}/res/man/${program}.h2m")
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${QLT_HELP2MAN} -DPROGRAM=$<TARGET_FILE:${program}> -DINCLUDE=${include}
            "-DCOMMANDS=${arg_COMMANDS}" -DOUTPUT=${page} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/Help2Man.cmake
    DEPENDS ${program} ${include} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/Help2Man.cmake
    COMMENT "Making the manual page ${program}(1)"
    VERBATIM)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set(man_pages ${man_pages} ${page} PARENT_SCOPE)
endfunction()

qlt_man_page(quillgate-cli COMMANDS scan clean rate dict codec)
if(TARGET quillgate)
  qlt_man_page(quillgate)
endif()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
