#include "runtime/timeline.h"

#include "display/display.h"
#include "display/frame.h"
#include "resources/pak.h"
#include "runtime/music.h"
#include "runtime/startup.h"

void demo_main(char* line)
{
    startup(line);
    if (!display_open(320, 200, !fullscreen))
        report_error("cannot open a window (%s): run with --headless or --capture=OUT", display_error());
    pak_mount("vivur.pak");
    shutdown();
}
