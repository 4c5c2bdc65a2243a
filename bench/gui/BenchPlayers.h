// bench/gui/BenchPlayers.h -- players and pages for the window benchmarks
#pragma once

#include "MinimalView.h"

#include <functional>
#include <string>

namespace stellik::bench {

// A test of count questions of the five kinds in one section that shows them all.
std::string MakeBenchTest(int count);
// The demo settings with the run mode mode ("step", "list", "sepmsg").
std::string BenchSettings(const std::string& mode);
// Writes test and settings into folder and a player carrying them; returns its path.
std::string MakeBenchPlayer(const std::string& folder, const std::string& test,
                            const std::string& settings);
// The player the build made, with the demo test.
std::string BuiltPlayer();

std::string ReadFile(const std::string& path);

// Replaces the process's resources by those the player file carries.
void InstallPlayerResources(const std::string& playerFile);

// The first page the player shows and its pictures, made by the window logic alone (no
// view), for the yardstick program.
void CaptureFirstPage(std::string& html, TPictures& pictures);

// Runs the main loop until done() holds; false after timeoutMs.
bool RunUntil(const std::function<bool()>& done, int timeoutMs = 30000);

} // namespace stellik::bench
