#include "core/random.h"

uint32_t random_seed = 1;

int32_t random_next()
{
    random_seed = random_seed * 214013u + 2531011u;
    return static_cast<int32_t>((random_seed >> 16) & 0x7FFF);
}
