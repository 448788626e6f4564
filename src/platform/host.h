// What the operating system needs before the program does anything else
// (called first thing by the executable's entry).
#pragma once

void host_start();
