#pragma once

#include <string>

// The executable whose resources are under test: the path given on the command line, or this
// test program itself.
const std::string& TestedModulePath();
