# Run by `cmake --install`: the launchers in bin/ and the desktop entry, written for the prefix the install
# goes to (known only now, since `--prefix` may change it).
set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${prefix}/bin")
foreach(program ZarnShow quorvel)
  if(EXISTS "${prefix}/lib/quorvel/${program}")
    file(REMOVE "${prefix}/bin/${program}")
    file(CREATE_LINK "../lib/quorvel/${program}" "${prefix}/bin/${program}" SYMBOLIC)
    message(STATUS "Installing: ${prefix}/bin/${program} -> ../lib/quorvel/${program}")
  endif()
endforeach()

if(EXISTS "${prefix}/lib/quorvel/ZarnShow")
  # The program path is quoted only when the desktop would not read it whole; a quoted path that needs no
  # quotes keeps xdg-utils from finding the program.
  set(exec "${CMAKE_INSTALL_PREFIX}/bin/ZarnShow")
  if(exec MATCHES "[ \t\"'\\\\><~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\\\"" exec "${exec}")
    string(REPLACE "$" "\\\\$" exec "${exec}")
    string(REPLACE "`" "\\\\`" exec "${exec}")
    set(exec "\"${exec}\"")
  endif()
  string(REPLACE "%" "%%" exec "${exec}")
  file(READ "${CMAKE_CURRENT_LIST_DIR}/quorvel.desktop.in" entry)
  string(REPLACE "@EXEC@" "${exec}" entry "${entry}")
  file(WRITE "${prefix}/share/applications/quorvel.desktop" "${entry}")
  message(STATUS "Installing: ${prefix}/share/applications/quorvel.desktop")
endif()
