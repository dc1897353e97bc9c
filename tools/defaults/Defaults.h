#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The defaults tool's commands (arguments as the program gets them, less its name, in UTF-8):
// prints to `out` and `err`, returns the exit status.
int runDefaults(const std::vector<std::string> &args, FILE *out, FILE *err);
