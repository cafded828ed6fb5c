#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nagitori::posix {

// The desktop-file IDs named as the default application for `mimeType` ("text/plain", "x-scheme-handler/http")
// in the mimeapps.list files, most important first: the user's, the administrator's, then the lists the
// desktops ship, each folder's lists for the running desktops (`currentDesktop`, as XDG_CURRENT_DESKTOP) before
// its general one. These are choices someone made; GIO's own lookup falls back on any application that merely
// registered the type, which on desktops without such lists can be an image viewer for folders.
std::vector<std::string> DefaultsSetFor(std::string_view mimeType, std::string_view currentDesktop);

}  // namespace nagitori::posix
