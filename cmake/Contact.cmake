# The maintainer's contact: one setting for the about box's mail link, the Debian package's
# Maintainer field and the AppStream metainfo's update contact.
#
#   -DPICTELLE_CONTACT="Jeanne Martin <jeanne@example.net>"
#
# Left empty (a build for oneself), the about box shows no mail link and the metainfo
# names no contact; scripts/package.sh always sets it.
set(PICTELLE_CONTACT "" CACHE STRING "Maintainer contact, \"Name <address>\"")

set(PICTELLE_CONTACT_NAME "")
set(PICTELLE_CONTACT_ADDRESS "")
if(NOT PICTELLE_CONTACT STREQUAL "")
  # The parts land in a C++ string, an XML file and a control file: refuse what would need
  # quoting in any of them rather than quote it three ways.
  if(NOT PICTELLE_CONTACT MATCHES "^([^<>\"\\\\&]*[^<>\"\\\\& ]) *<([^<>\"\\\\& @]+@[^<>\"\\\\& @]+\\.[^<>\"\\\\& @]+)>$")
    message(FATAL_ERROR "PICTELLE_CONTACT must read \"Name <address@host.domain>\", "
                        "without quotes, backslashes or ampersands: \"${PICTELLE_CONTACT}\"")
  endif()
  set(PICTELLE_CONTACT_NAME "${CMAKE_MATCH_1}")
  set(PICTELLE_CONTACT_ADDRESS "${CMAKE_MATCH_2}")
endif()
