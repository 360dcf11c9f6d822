/* The streaming floor, shown beside the load-only benchmarks: asks for the save
 * file like the tool, reads it in 256 KiB pieces through one buffer, splits the
 * lines with memchr and counts them, and keeps nothing. No loader can skip the
 * scan it leaves out, so the scanning floor is the load's target. Linux only. */
#include "stream_load.h"

int main(void)
{
    char path[1024];

    floor_load(path);
    return 0;
}
