# Install step: writes the desktop entry with Exec naming the installed program, quoted as
# desktop entries require when the path holds reserved characters; then, for an install
# straight into a prefix (no DESTDIR, as a package build uses), refreshes the MIME and
# desktop caches of that prefix so the .lrc association takes effect.
set(program "${CMAKE_INSTALL_PREFIX}/${LRC_INSTALL_BINDIR}/qinghe-lrc-editor")
set(exec "${program}")
if(program MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  # The value as a whole escapes each backslash once more.
  string(REPLACE "\\" "\\\\" exec "\"${exec}\"")
endif()
string(REPLACE "%" "%%" exec "${exec}")
set(LRC_EXEC "${exec}")
set(share "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${LRC_INSTALL_DATADIR}")
configure_file("${LRC_DESKTOP_TEMPLATE}" "${share}/applications/qinghe-lrc-editor.desktop" @ONLY)
message(STATUS "Installing: ${share}/applications/qinghe-lrc-editor.desktop")

if("$ENV{DESTDIR}" STREQUAL "")
  find_program(update_mime update-mime-database)
  find_program(update_desktop update-desktop-database)
  if(update_mime)
    execute_process(COMMAND "${update_mime}" "${share}/mime" OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(update_desktop)
    execute_process(COMMAND "${update_desktop}" "${share}/applications" OUTPUT_QUIET ERROR_QUIET)
  endif()
endif()
