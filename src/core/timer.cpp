#include "core/timer.h"

#include "platform/clock.h"

namespace {
uint32_t timer_base = 0;  // clock reading at timer_start
}

void timer_start() { timer_base = clock_milliseconds(); }

int32_t timer_ticks()
{
    return static_cast<int32_t>((clock_milliseconds() - timer_base) * 4u);
}
