#pragma once

// The end of the program, once the main window has closed the database: the colour window goes,
// every timer of the main window stops, then every loaded window is unloaded.
namespace ModCloseProgram {

void CloseProgram();

}
