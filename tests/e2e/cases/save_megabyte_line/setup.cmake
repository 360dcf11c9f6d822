string(REPEAT "m" 1048576 big)
file(WRITE "${SCRATCH}/athena.txt" "${big}\n1\t150,0\tFirst\t7,50,40\t1000,2000,100\t3000,3100,200,210\t40,30,20,10,5,1\t7,3\tx,y\n")
