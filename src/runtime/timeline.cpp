#include "runtime/timeline.h"

#include "display/display.h"
#include "display/frame.h"
#include "resources/pak.h"
#include "runtime/music.h"
#include "runtime/startup.h"

void demo_main(char* line)
{
    startup(line);
    display_open(320, 200, !fullscreen);
    pak_mount("vivur.pak");
    shutdown();
}
