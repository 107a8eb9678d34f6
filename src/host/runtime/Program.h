#pragma once

#include <functional>

namespace runtime {

class Form;

// The program's start: makes the application ("kestrova"), runs startup to create the start-up
// form, loads and shows it, and runs the message loop until the last form is unloaded. Forms
// still loaded when the loop ends are deleted. Answers the exit code.
int RunProgram(int &argc, char **argv, const std::function<Form *()> &startup);

} // namespace runtime
