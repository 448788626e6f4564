// The error message box. Only live runs with a real display show one; every
// other run relies on the message that report_error prints to standard error.
#pragma once

// Shows a modal box with one OK button and waits until it is dismissed;
// does nothing unless dialog_enable(true) was called.
void dialog_show_error(const char* caption, const char* text);
// Called by the window service once a real window exists (and false when
// it runs headless).
void dialog_enable(bool enabled);
