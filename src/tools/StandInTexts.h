#pragma once

#include <string>
#include <string_view>

#include "platform/System.h"

namespace nagitori {

// A button's caption without its access key: "イベント ビュアー (&0)" gives "イベント ビュアー".
std::string CaptionWithoutAccessKey(std::string_view caption);

// What the user is told when a built-in button has nothing to start on this system, in place of the notice
// the Windows shell shows for a missing program.
std::string MissingStandInNotice(std::string_view caption, const StandInReport& report);

// What the user is told when a built-in button was to start with administrator rights and the program that
// raises them is not installed; a refused prompt, by contrast, stays silent.
std::string MissingElevationNotice(std::string_view caption, const MissingProgram& missing);

// The tooltip of a built-in button: the program it starts, or why nothing starts.
std::string StandInToolTip(const StandInReport& report);

}  // namespace nagitori
