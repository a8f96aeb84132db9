#include "risk/DictionarySource.h"

#include <charconv>
#include <unordered_set>

#include "base/AsciiText.h"
#include "risk/DictionaryFile.h"

namespace qlt {

namespace {

// Identifiers from here on belong to the signature, the user strings and the rules.
constexpr std::uint32_t kFirstReservedId = 0xF00000;

struct Name {
    std::string_view name;
    std::uint8_t value;
};
constexpr Name kCategories[] = {{"virus", 1}, {"spam", 2}, {"xrated", 3}, {"foul", 4}, {"user", 5}};
constexpr Name kPlaces[] = {
    {"text", kWhereText}, {"headers", kWhereHeaders}, {"from", kWhereFrom}, {"subject", kWhereSubject}};

// The next blank-separated field; the rest stays in line.
std::string_view takeField(std::string_view& line) {
    line = trimWhiteSpace(line);
    std::size_t end = 0;
    while (end < line.size() && !isWhiteSpace(line[end])) ++end;
    const std::string_view field = line.substr(0, end);
    line.remove_prefix(end);
    return field;
}

template <std::size_t N>
std::optional<std::uint8_t> lookUp(const Name (&names)[N], std::string_view name) {
    for (const auto& n : names) {
        if (n.name == name) return n.value;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> parseNumber(std::string_view field) {
    int base = 10;
    if (field.starts_with("0x") || field.starts_with("0X")) {
        field.remove_prefix(2);
        base = 16;
    }
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value, base);
    if (ec != std::errc() || end != field.data() + field.size() || field.empty()) return std::nullopt;
    return value;
}

std::string_view unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

// One record from a line that is neither blank nor a comment; what is wrong otherwise.
std::optional<KeywordRecord> parseLine(std::string_view line, std::unordered_set<std::uint32_t>& ids,
                                       std::string& problem) {
    const auto id = parseNumber(takeField(line));
    const auto category = lookUp(kCategories, takeField(line));
    const auto level = parseNumber(takeField(line));
    const auto where = lookUp(kPlaces, takeField(line));
    const std::string_view text = unquoted(trimWhiteSpace(line));
    if (!id || *id == 0 || *id >= kFirstReservedId) {
        problem = "the id must be a number from 1 to 0xEFFFFF";
    } else if (!ids.insert(*id).second) {
        problem = "the id is used twice";
    } else if (!category) {
        problem = "unknown category (virus, spam, xrated, foul, user)";
    } else if (!level || *level < 1 || *level > 3) {
        problem = "the level must be 1, 2 or 3";
    } else if (!where) {
        problem = "unknown place (text, headers, from, subject)";
    } else if (text.empty() || text.size() > KeywordRecord::kMaxTextLength || text.find('\0') != text.npos) {
        problem = "the text must have 1 to 31 characters";
    } else {
        return KeywordRecord::make(*id, text, *category, static_cast<std::uint8_t>(*level), *where);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<KeywordRecord>> parseDictionarySource(std::string_view source, std::string& error) {
    std::vector<KeywordRecord> records;
    std::unordered_set<std::uint32_t> ids;
    std::size_t lineNumber = 0;
    while (!source.empty()) {
        ++lineNumber;
        const std::size_t end = std::min(source.find('\n'), source.size());
        const std::string_view line = trimWhiteSpace(source.substr(0, end));
        source.remove_prefix(std::min(end + 1, source.size()));
        if (line.empty() || line.front() == '#') continue;
        std::string problem;
        const auto record = parseLine(line, ids, problem);
        if (!record) {
            error = "line " + std::to_string(lineNumber) + ": " + problem;
            return std::nullopt;
        }
        records.push_back(*record);
    }
    return records;
}

std::optional<Bytes> buildDictionaryFile(std::string_view source, std::string& error) {
    auto records = parseDictionarySource(source, error);
    if (!records) return std::nullopt;
    records->insert(records->begin(), dictionarySignatureRecord());
    Bytes file = encodeDictionaryRecords(*records);
    if (file.size() > kMaxDictionaryFileSize) {
        error = "the data file would be " + std::to_string(file.size()) + " bytes, more than " +
                std::to_string(kMaxDictionaryFileSize);
        return std::nullopt;
    }
    return file;
}

}  // namespace qlt
