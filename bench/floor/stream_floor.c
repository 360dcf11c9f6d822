/* The floor of a load, the yardstick of the load-only benchmarks: asks for the
 * save file like the tool, reads it in 256 KiB pieces through one buffer, splits
 * the lines with memchr and counts them, and keeps nothing. Linux only. */
#include "stream_load.h"

int main(void)
{
    char path[1024];

    floor_load(path);
    return 0;
}
