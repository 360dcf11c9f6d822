// The program's entry: runs the dialogue; every ending exits with status 0.
#include "app/startup.h"

int main()
{
    run_program();
    return 0;
}
