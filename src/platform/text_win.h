// Text at the Windows boundary: UTF-8 inside the program, UTF-16 at the
// system's wide-character calls.
#pragma once
#include <string>

std::wstring text_wide(const char* utf8);
std::string text_utf8(const std::wstring& wide);
// The system's message for an error code, UTF-8, without its line end.
std::string text_system_error(unsigned long code);
// Appends argument to a command line (after a space unless the line is
// empty), quoted the way the C runtime's command-line parser reads it back.
void text_append_argument(std::wstring& line, const std::wstring& argument);
