#include "core/UserStringList.h"

#include <algorithm>

#include "base/AsciiText.h"
#include "risk/UserStringFile.h"
#include "store/BuiltInTexts.h"

namespace qlt {

namespace {

// Case-blind first, then by bytes, so "Prize" and "prize" (kept when they
// both come from the file) have a fixed order.
bool listsBefore(std::string_view a, std::string_view b) {
    const auto folded = [](char c) { return static_cast<unsigned char>(foldCase(c)); };
    if (std::ranges::lexicographical_compare(a, b, {}, folded, folded)) return true;
    if (std::ranges::lexicographical_compare(b, a, {}, folded, folded)) return false;
    return a < b;
}

}  // namespace

bool UserStringList::add(std::string_view text) {
    if (text.empty() || findNoCase(text) != m_entries.end()) return false;
    insert(text);
    return true;
}

bool UserStringList::removeMatching(std::string_view text) {
    const auto found = findNoCase(text);
    if (found == m_entries.end()) return false;
    m_entries.erase(found);
    return true;
}

void UserStringList::insert(std::string_view text) {
    const auto place =
        std::upper_bound(m_entries.begin(), m_entries.end(), text,
                         [](std::string_view t, const std::string& e) { return listsBefore(t, e); });
    m_entries.emplace(place, text);
}

std::vector<std::string>::const_iterator UserStringList::findNoCase(std::string_view text) const {
    return std::find_if(m_entries.begin(), m_entries.end(),
                        [text](const std::string& entry) { return equalsIgnoringCase(entry, text); });
}

UserStringList loadUserStringList(const std::string& path, UiPort& ui) {
    UserStringList list;
    const auto file = readUserStrings(path);
    if (!file) return list;
    for (const auto& line : file->strings) list.insert(line.text);
    if (file->tooMany) ui.messageBox(kProgramName, kTooManyUserStrings, BoxIcon::Warning, BoxButtons::Ok);
    return list;
}

bool saveUserStringList(const UserStringList& list, const std::string& path) {
    return writeUserStrings(path, list.entries());
}

}  // namespace qlt
