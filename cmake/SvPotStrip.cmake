# Copies the extracted template without its creation date, so that an unchanged
# set of messages leaves po/SvqPeek.pot unchanged.
file(READ "${IN}" text)
string(REGEX REPLACE "\"POT-Creation-Date: [^\"]*\"\n" "" text "${text}")
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
