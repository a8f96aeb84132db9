#include "content/FullRetrieval.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

#include "risk/RiskRating.h"
#include "store/BuiltInTexts.h"

namespace qlt {
namespace {

// The file's text up to the NUL that the download put after it.
std::optional<std::string> readMessageText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) return std::nullopt;
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
}

}  // namespace

bool FetchAndAnalyze(Pop3Client& client, MessageList& list, std::size_t index,
                     const KeywordDictionary& dictionary, UiPort& ui) {
    if (index >= list.count()) return false;
    if (!client.Retr(list.at(index).messageNumber, "") || !client.Rset()) {
        client.Close();
        return false;
    }
    client.Quit();
    const std::optional<std::string> text = readMessageText(client.m_strTempFile);
    if (!text) {
        ui.messageBox(
            kProgramName,
            "An error occurred while reading " + client.m_strTempFile + ".\n" + std::strerror(errno),
            BoxIcon::None, BoxButtons::Ok);
        return false;
    }
    MessageEntry entry = list.at(index);
    rateText(dictionary, *text, entry);
    list.at(index) = std::move(entry);
    return true;
}

bool FetchToFile(Pop3Client& client, int n, const std::string& path) {
    if (client.Retr(n, path) && client.Rset()) {
        client.Quit();
        return true;
    }
    client.Close();
    return false;
}

}  // namespace qlt
