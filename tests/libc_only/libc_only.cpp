#include <stdlib.h>

extern "C" void *probe(void)
{
    return malloc(1);
}
