// The error box in the browser: the page shows the message in a box of its
// own (and the console has it from standard error). It does not wait: the
// production ends right after, and the page offers to play again.
#include <emscripten.h>

#include "platform/dialog.h"

EM_JS(void, web_show_error, (const char* caption, const char* text), {
    if (Module.vivurShowError)
        Module.vivurShowError(UTF8ToString(caption), UTF8ToString(text));
});

void dialog_enable(bool) {}

void dialog_show_error(const char* caption, const char* text) { web_show_error(caption, text); }
