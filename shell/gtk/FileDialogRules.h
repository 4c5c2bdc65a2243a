// shell/gtk/FileDialogRules.h -- the file dialog's rules that need no display
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stellik {

// One file type of a dialog filter: what the list shows and the patterns it stands for.
struct TFileFilterEntry {
    std::string Description;
    std::vector<std::string> Patterns; // the ";"-separated patterns of the pair
};

// "Description|pattern|Description|pattern...": descriptions and patterns alternate. An empty
// filter gives no entries; a pair with an empty pattern and a description left without a
// pattern at the end are dropped.
std::vector<TFileFilterEntry> ParseFileFilter(std::string_view filter);

// A pattern as the chooser's globbing reads it, matching names without regard to the case
// of Latin letters: "*.lmr" -> "*.[lL][mM][rR]". "*.*" matches every name, dotted or not, and
// "[" stands for itself.
std::string ChooserPattern(std::string_view pattern);

// path with defaultExt added when its file name has no extension of its own ("results" ->
// "results.lmr"); defaultExt is written with or without its leading dot, and an empty one
// leaves path as it is.
std::string WithDefaultExt(const std::string& path, std::string_view defaultExt);

// The longest proposed file name the dialog accepts, in characters.
inline constexpr std::size_t MaxProposedNameLength = 260;
// Whether a proposed name (UTF-8) fits; a longer one is refused before any dialog opens.
bool ProposedNameFits(std::string_view name);

} // namespace stellik
