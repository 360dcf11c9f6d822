# Two files of no character lines up to a line that the 64 KiB mark cuts: in
# cut_after.txt just after its 22 values, so the part read is a character line; in
# cut_before.txt three characters earlier, so it is not.
set(values "1\t2,3\tN\t4,5,6\t7,8,9\t10,11,12,13\t14,15,16,17,18,19\t20,21")
string(LENGTH "${values}" length)
math(EXPR after "65535 - ${length}")
math(EXPR before "${after} + 3")
foreach(kind after before)
  string(REPEAT "r" ${${kind}} filler)
  file(WRITE "${SCRATCH}/cut_${kind}.txt" "${filler}\n${values}\tmore\n")
endforeach()
