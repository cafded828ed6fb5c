#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nagitori {

// One button of the three built-in pages: its control name, caption and the command it starts.
struct CatalogueEntry {
    const char* button;
    const char* caption;
    const char* command;
};

constexpr int kCatalogueSize = 60;
constexpr int kButtonsPerPage = 20;
// Tags from here on are Store applications, started by URI without the tool options.
constexpr int kFirstStoreTag = 40;

constexpr bool IsStoreTag(int tag) {
    return tag >= kFirstStoreTag;
}
// The five Office applications, whose failure tells the user they are not installed.
constexpr bool IsOfficeTag(int tag) {
    return tag >= 32 && tag <= 36;
}

const CatalogueEntry& CatalogueEntryOf(int tag);
// The commands in tag order.
std::vector<std::string> BuildToolRunCommand();
// The arguments a tool always gets; nothing for tools that take the user's command line.
std::optional<std::string_view> FixedParameters(int tag);

}  // namespace nagitori
