#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/UiPort.h"

namespace qlt {

// The user strings as the preferences dialog edits them: kept in the order
// the file is written in, ignoring case first (as a sorted list box shows
// them), and at most one entry for any text when added by hand.
class UserStringList {
  public:
    // Adds the text unless it is empty or an entry already equals it ignoring
    // case; the text is kept as typed, blanks and all.
    bool add(std::string_view text);

    // Removes the entry equal to the text ignoring case.
    bool removeMatching(std::string_view text);

    // Puts the text in its sorted place without the duplicate check, as the
    // lines of the file are taken.
    void insert(std::string_view text);

    const std::vector<std::string>& entries() const { return m_entries; }

  private:
    std::vector<std::string>::const_iterator findNoCase(std::string_view text) const;

    std::vector<std::string> m_entries;
};

// The list from the user-string file: each trimmed non-empty line. A missing
// file gives an empty list silently; a file past the line limit is cut there
// after the "Too many entries" box.
UserStringList loadUserStringList(const std::string& path, UiPort& ui);

// Writes the file anew with every entry in list order, each on its own line;
// an empty list writes an empty file.
bool saveUserStringList(const UserStringList& list, const std::string& path);

}  // namespace qlt
