# The program runs in a folder whose name code page 1252 cannot spell: the full path
# the system makes of a typed name cannot be given back in that code page whole.
set(folder "${SCRATCH}/한국")
file(MAKE_DIRECTORY "${folder}")
file(RENAME "${SCRATCH}/athena.txt" "${folder}/athena.txt")
set(SCRATCH "${folder}")
