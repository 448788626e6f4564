#include "platform/dialog.h"

#include <SDL.h>

namespace {
bool dialog_enabled = false;  // a real display is open
}

void dialog_enable(bool enabled) { dialog_enabled = enabled; }

void dialog_show_error(const char* caption, const char* text)
{
    if (!dialog_enabled)
        return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}
