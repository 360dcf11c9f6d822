# Writes ${SCRATCH}/athena.txt with LINES character lines, with or without a final
# line feed (FINAL_FEED). All are class 0 but for the first, the 10240th, the
# 10241st (where an earlier version stopped reading) and the last, which are
# Knights: a job-7 report shows that each of them was read.
file(WRITE "${SCRATCH}/athena.txt" "")
set(block "")
foreach(i RANGE 1 ${LINES})
  if(i EQUAL 1 OR i EQUAL 10240 OR i EQUAL 10241 OR i EQUAL ${LINES})
    set(class 7)
  else()
    set(class 0)
  endif()
  set(feed "\n")
  if(i EQUAL ${LINES} AND NOT FINAL_FEED)
    set(feed "")
  endif()
  string(APPEND block "${i}\t150,0\tC${i}\t${class},50,40\t1000,2000,5\t3000,3100,200,210\t40,30,20,10,5,1\t7,3\tx,y${feed}")
  # Appending in blocks keeps the script fast; one string of 20000 lines is not.
  math(EXPR in_block "${i} % 500")
  if(in_block EQUAL 0 OR i EQUAL ${LINES})
    file(APPEND "${SCRATCH}/athena.txt" "${block}")
    set(block "")
  endif()
endforeach()
