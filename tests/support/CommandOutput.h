#pragma once

#include <string>

// What a shell command writes on its standard output; empty when it cannot run.
std::string commandOutput(const std::string& command);
