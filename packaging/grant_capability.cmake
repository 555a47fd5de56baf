# Gives the installed link helper CAP_NET_RAW (cap_net_raw=ep), so ordinary users can run the
# wizard, which holds no capability itself and starts the helper for its frames. Skipped
# while CPack stages the package (its postinst does it on the target machine) and for staged
# installs into DESTDIR, where the capability would not survive packing.
if(NOT DEFINED QBR20G_SETCAP_PROGRAM)
  return()
endif()
set(program "${CMAKE_INSTALL_PREFIX}/${QBR20G_SETCAP_PROGRAM}")
if(CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/" OR NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()

find_program(QBR20G_SETCAP setcap PATHS /usr/sbin /sbin)
if(NOT QBR20G_SETCAP)
  message(WARNING "setcap was not found (Debian package libcap2-bin), so ${program} cannot "
                  "capture for the wizard run by ordinary users. Install libcap2-bin, then run:\n"
                  "  sudo setcap cap_net_raw=ep ${program}")
  return()
endif()
execute_process(COMMAND ${QBR20G_SETCAP} cap_net_raw=ep ${program}
  RESULT_VARIABLE result ERROR_VARIABLE error ERROR_STRIP_TRAILING_WHITESPACE)
if(result EQUAL 0)
  message(STATUS "Capability: ${program} cap_net_raw=ep")
else()
  message(WARNING "setcap could not give ${program} the capability cap_net_raw (${error}). "
                  "Ordinary users cannot run the wizard until the helper has it:\n"
                  "  sudo setcap cap_net_raw=ep ${program}")
endif()
