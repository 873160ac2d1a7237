#pragma once
// BVVis --render: one picture of a profile drawn by the display loop in a
// view window on the off-screen platform, written to a PNG file, with a
// report of what the picture shows.
#include <string>
#include <vector>

namespace RenderCommand {

extern const char* const kUsage;

// args after "--render"; the program's exit code. Needs the application.
int Render(const std::vector<std::string>& args);

}  // namespace RenderCommand
