# The program runs in a folder whose full path takes 250 characters or more, so that
# the full path of a report name there is longer than MAX_PATH (260), while the
# folder itself and the typed names are shorter.
string(LENGTH "${SCRATCH}" used)
math(EXPR missing "250 - ${used} - 3")
string(REPEAT "d" ${missing} component)
set(folder "${SCRATCH}/${component}")
file(MAKE_DIRECTORY "${folder}")
file(RENAME "${SCRATCH}/athena.txt" "${folder}/athena.txt")
set(SCRATCH "${folder}")
