#pragma once

#include <filesystem>

#include "platform/System.h"

namespace nagitori::posix {

// The icon of a file as the desktop shows it: a desktop file its application's, a program an installed
// application runs that application's, anything else its content type's; empty when nothing stands at the path.
// Only a regular file is opened, never waiting on the path, and only a bounded part of it is read, so that a FIFO
// or a huge file at a registered path costs nothing.
IconReference FileIcon(const std::filesystem::path& file);

}  // namespace nagitori::posix
