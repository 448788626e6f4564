// Whether a standard stream is a terminal (progress bars redraw in place there).
#pragma once

bool terminal_attached(int fd);
