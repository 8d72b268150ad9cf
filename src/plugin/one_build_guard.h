// One build at a time. Players' loaders load every plug-in file they find, so a player who unpacks
// several builds, or keeps an old one in a subfolder, would get several scripts spawning squads at
// the same hideouts and deleting each other's members. The first build to attach claims the game
// process with an object named after the process; a build that finds the name taken stays idle.
// The platform's named object lives in one_build_guard_windows.cpp or one_build_guard_posix.cpp.
#pragma once

#include "host/host.h"

// True when this library now holds the process's claim; false when another build holds it. A
// platform that cannot make the object at all lets the build run, as it would without the guard.
bool claimGameProcess();
// Gives the claim back, so that a build loaded after this one has unloaded may run.
void releaseGameProcess();
// Leaves the one-line reason where a player can find it: the debugger output on Windows, which
// tools such as DebugView show; standard error elsewhere.
void reportIdleBuild(ModuleHandle module);
