#pragma once
#include <span>

// Each subcommand gets the arguments after its own name and returns the exit status.
using ToolArgs = std::span<char* const>;

int RunValid(ToolArgs args);
int RunBest(ToolArgs args);
int RunBench(ToolArgs args);
int RunFen(ToolArgs args);
int RunPerft(ToolArgs args);
int RunMate(ToolArgs args);
int RunBook(ToolArgs args);
