// The program's arguments as UTF-8 text.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> Utf8Arguments(int argc, char** argv);
