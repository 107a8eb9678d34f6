#include "runtime/Program.h"
#include "windows/FrmMain.h"

// The program has no entry routine of its own: the runtime loads the main window.
int main(int argc, char **argv)
{
    return runtime::RunProgram(argc, argv, [] { return new FrmMain(); });
}
