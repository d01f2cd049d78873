#pragma once

// The first thing every process of the program does. Returns 0 when this is
// the browser process and the engine is ready; -1 when this process was one
// of the engine's sub-processes and has finished; -2 when the engine could not
// start. The caller ends the process on anything but 0.
//
// With persist, cookies and preferences are kept in the folder
// "cache_data\cookies" beside the executable; otherwise a fresh temporary
// profile is used.
int InitializeCef(bool persist);
