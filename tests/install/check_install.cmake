# Installs the build into a fresh prefix and checks what lands where: the program and the
# check-plot tool in bin (and that they run), the manual page in share/man/man1 (and that
# it renders cleanly), the guide in share/doc/ww3-brevolan.
#
#   cmake -DBUILD_DIR=... -DPREFIX=... -DVERSION=... -P check_install.cmake

function(fail text)
  message(FATAL_ERROR "install check: ${text}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  fail("cmake --install failed (${status}):\n${output}${errors}")
endif()

set(program "${PREFIX}/bin/ww3-brevolan")
set(plot "${PREFIX}/bin/ww3-brevolan-plot")
set(manual "${PREFIX}/share/man/man1/ww3-brevolan.1")
foreach(file "${program}" "${plot}" "${manual}" "${PREFIX}/share/doc/ww3-brevolan/README.md"
             "${PREFIX}/share/doc/ww3-brevolan/docs/station_halfplane.png")
  if(NOT EXISTS "${file}")
    fail("${file} was not installed")
  endif()
endforeach()

execute_process(COMMAND "${program}" --version RESULT_VARIABLE status OUTPUT_VARIABLE output)
# (execute_process may drop the CR of the line end; the line ends are tested elsewhere)
if(NOT status EQUAL 0 OR NOT output MATCHES "^ww3-brevolan ${VERSION}\r?\n$")
  fail("the installed program answers --version with status ${status} and \"${output}\"")
endif()

# The plot tool runs from the prefix alone, under its installed name (--help needs no
# matplotlib).
if(EXISTS /usr/bin/python3)
  execute_process(COMMAND "${plot}" --help RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0 OR NOT output MATCHES "^usage: ww3-brevolan-plot .*--full-range")
    fail("the installed plot tool answers --help with status ${status} and \"${output}${errors}\"")
  endif()
endif()

file(READ "${manual}" page)
if(NOT page MATCHES "^\\.TH WW3-BREVOLAN 1 [^\n]*\"ww3-brevolan ${VERSION}\"")
  fail("the manual page does not carry the version ${VERSION} in its title line")
endif()
foreach(section NAME SYNOPSIS DESCRIPTION OPTIONS DIALOGUE "OUTPUT FILES" CONVENTIONS "EXIT STATUS" DIAGNOSTICS)
  if(NOT page MATCHES "\n\\.SH \"?${section}\"?\n")
    fail("the manual page has no ${section} section")
  endif()
endforeach()

find_program(GROFF groff)
if(GROFF)
  execute_process(COMMAND "${GROFF}" -man -Tutf8 -ww -z "${manual}" RESULT_VARIABLE status ERROR_VARIABLE warnings)
  if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
    fail("groff finds fault with the manual page:\n${warnings}")
  endif()
endif()

file(REMOVE_RECURSE "${PREFIX}")
