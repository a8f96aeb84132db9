#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qlt {

// True when the text holds the extension (".js") whole somewhere: not
// followed by a letter or digit, so ".js" is not ".json".
bool containsExtension(std::string_view text, std::string_view extension);

// The needle (a file-name extension such as ".scr") found whole at a "." that
// follows the text's start or the previous "." by 4 to 6 characters.
bool matchExtension(std::string_view haystack, std::string_view needle);

// The "." positions of a text where matchExtension may find a needle,
// collected once for a text that many needles are tried on.
class ExtensionSites {
  public:
    explicit ExtensionSites(std::string_view text);
    bool match(std::string_view needle) const;

  private:
    struct Site {
        std::size_t at;
        std::uint32_t prefix;
    };
    static std::uint32_t prefixAt(std::string_view text, std::size_t at);

    std::string_view m_text;
    std::vector<Site> m_sites;
};

}  // namespace qlt
