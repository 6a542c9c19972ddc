// The shell record.
#include "app/Shell.h"

ShellState shell;
std::function<bool()> runFrame;
std::function<void(int x, int y)> startExplosion;
