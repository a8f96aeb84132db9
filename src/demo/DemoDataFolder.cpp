#include "demo/DemoDataFolder.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>

#include "base/AsciiText.h"
#include "base/AtomicFile.h"
#include "risk/SenderList.h"
#include "risk/UserStringFile.h"
#include "store/BuiltInTexts.h"
#include "store/Settings.h"

namespace qlt::demo {

namespace {

namespace fs = std::filesystem;

constexpr char kSenderSourceName[] = "senders.txt";
// A sender list source larger than this is no demo file.
constexpr std::size_t kMaxSourceSize = 64 * 1024;

std::optional<std::string> readFile(const fs::path& path) {
    std::error_code failed;
    if (fs::file_size(path, failed) > kMaxSourceSize || failed) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool copyInto(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code failed;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, failed);
    if (failed) error = "cannot copy " + from.string() + ": " + failed.message();
    return !failed;
}

std::string encodeSenderRecords(const std::vector<SenderRecord>& records) {
    std::string bytes(records.size() * SenderRecord::kSize, '\0');
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::uint8_t raw[SenderRecord::kSize];
        records[i].writeTo(std::span<std::uint8_t, SenderRecord::kSize>(raw));
        std::memcpy(bytes.data() + i * SenderRecord::kSize, raw, SenderRecord::kSize);
    }
    return bytes;
}

bool writeSenderList(const fs::path& source, const std::string& target, std::string& error) {
    const auto text = readFile(source);
    if (!text) {
        error = "cannot read " + source.string();
        return false;
    }
    const auto records = parseSenderListSource(*text, error);
    if (!records) return false;
    if (const int failed = writeFileAtomically(target, encodeSenderRecords(*records)); failed != 0) {
        error = "cannot write " + target + ": " + std::strerror(failed);
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::vector<SenderRecord>> parseSenderListSource(std::string_view source, std::string& error) {
    std::vector<SenderRecord> records;
    std::size_t lineNumber = 0;
    while (!source.empty()) {
        ++lineNumber;
        const std::size_t end = source.find('\n');
        const std::string_view line = trimWhiteSpace(source.substr(0, end));
        source = end == std::string_view::npos ? std::string_view() : source.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;

        const std::size_t gap = line.find_first_of(" \t");
        const std::string_view kind = line.substr(0, gap);
        const std::string_view text = gap == std::string_view::npos ? "" : trimWhiteSpace(line.substr(gap));
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (kind != "friend" && kind != "foe") {
            error = where + "starts with neither friend nor foe";
            return std::nullopt;
        }
        if (text.empty() || text.size() >= SenderRecord::kTextCapacity) {
            error = where + "the text must have 1 to 74 characters";
            return std::nullopt;
        }
        records.push_back(
            {kind == "friend" ? kSenderFriend : kSenderFoe, decltype(SenderRecord::text)(text)});
    }
    return records;
}

std::string demoFolder(const std::string& shippedFolder) {
    return (fs::path(shippedFolder) / "demo").string();
}

bool prepareDemoDataFolder(const std::string& shippedFolder, const std::string& dataFolder,
                           std::string& error) {
    const fs::path shipped(shippedFolder);
    const fs::path demo(demoFolder(shippedFolder));
    const fs::path data(dataFolder);
    return copyInto(shipped / dictionaryFileName(), data / dictionaryFileName(), error) &&
           copyInto(shipped / "sounds" / kDefaultSoundFile, data / kDefaultSoundFile, error) &&
           copyInto(demo / kUserStringFileName, data / kUserStringFileName, error) &&
           writeSenderList(demo / kSenderSourceName, senderListPath(dataFolder), error);
}

}  // namespace qlt::demo
