# An older backup of the save file, with the line ends of the platform's text
# files, and an earlier report of fewer characters.
file(READ "${CASE}/expected/athena.txt.bak" backup)
if(CRLF)
  string(REPLACE "\n" "\r\n" backup "${backup}")
endif()
file(WRITE "${SCRATCH}/athena.txt.bak" "${backup}")
file(WRITE "${SCRATCH}/old.txt" "--------- Arwen ---------\nCharacter ID: \t150001\n\n")
