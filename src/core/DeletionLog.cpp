#include "core/DeletionLog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "base/AtomicFile.h"
#include "base/Json.h"
#include "base/Utf8Text.h"

namespace qlt {

namespace {

constexpr unsigned kOwnerOnly = 0600;

constexpr std::array<const char*, kRiskCategories> kCategoryNames = {"virus", "spam", "X-rated",
                                                                     "foul language", "user strings"};
constexpr std::array<const char*, 4> kLevelNames = {"green", "1. Yellow", "2. Orange", "3. Red"};

std::optional<std::int64_t> secondsOf(int year, unsigned month, unsigned day, int hour, int minute,
                                      int second) {
    using namespace std::chrono;
    const year_month_day date{std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)};
    if (!date.ok() || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60)
        return std::nullopt;
    const auto days = sys_days(date).time_since_epoch().count();
    return static_cast<std::int64_t>(days) * 86400 + hour * 3600 + minute * 60 + second;
}

std::optional<std::int64_t> isoSeconds(std::string_view text) {
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    char zone = 0;
    if (text.size() != 20) return std::nullopt;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2u-%2uT%2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second,
                    &zone) != 7 ||
        zone != 'Z')
        return std::nullopt;
    return secondsOf(year, month, day, hour, minute, second);
}

std::optional<std::int64_t> utcSeconds(const SystemTime& t) {
    return secondsOf(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

const JsonValue* member(const JsonFlatObject& object, std::string_view name, bool list) {
    const auto found = object.find(name);
    return found != object.end() && found->second.isList == list ? &found->second : nullptr;
}

template <class T>
bool readScalar(const JsonFlatObject& object, std::string_view name, T& out) {
    const JsonValue* value = member(object, name, false);
    if (value == nullptr || !std::holds_alternative<T>(value->scalar)) return false;
    out = std::get<T>(value->scalar);
    return true;
}

template <class T, class Store>
bool readList(const JsonFlatObject& object, std::string_view name, Store store) {
    const JsonValue* value = member(object, name, true);
    if (value == nullptr || value->list.size() != kRiskCategories) return false;
    for (std::size_t i = 0; i < kRiskCategories; ++i) {
        if (!std::holds_alternative<T>(value->list[i])) return false;
        store(i, std::get<T>(value->list[i]));
    }
    return true;
}

bool readRecord(const JsonFlatObject& o, DeletionRecord& r) {
    std::string tagged;
    const bool texts = readScalar(o, "time", r.time) && readScalar(o, "account", r.account) &&
                       readScalar(o, "uidl", r.uidl) && readScalar(o, "from", r.from) &&
                       readScalar(o, "subject", r.subject) && readScalar(o, "date", r.date) &&
                       readScalar(o, "taggedBy", tagged);
    const bool lists = readList<std::int64_t>(
                           o, "levels",
                           [&r](std::size_t i, std::int64_t level) {
                               r.levels[i] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(level, 0, 3));
                           }) &&
                       readList<std::string>(
                           o, "reasons", [&r](std::size_t i, const std::string& why) { r.reasons[i] = why; });
    r.taggedByHand = tagged == "hand";
    readScalar(o, "blackListed", r.blackListed);
    return texts && lists && readScalar(o, "size", r.size) && isoSeconds(r.time).has_value();
}

}  // namespace

DeletionRecord MakeDeletionRecord(const MessageEntry& entry, std::string_view account, const SystemTime& utc,
                                  bool taggedByHand) {
    DeletionRecord r;
    r.time = IsoUtcTime(utc);
    r.account = displayUtf8(account);
    r.uidl = displayUtf8(entry.uidl.view());
    r.size = entry.size;
    r.from = displayUtf8(entry.from.view());
    r.subject = displayUtf8(entry.subject.view());
    r.date = displayUtf8(entry.date.view());
    r.levels = entry.level;
    for (std::size_t i = 0; i < kRiskCategories; ++i)
        if (entry.level[i] > kLevelNone) r.reasons[i] = displayUtf8(entry.levelReasonText[i]);
    r.taggedByHand = taggedByHand;
    r.blackListed = entry.senderStatus == kSenderFoe;
    return r;
}

std::string DeletionLine(const DeletionRecord& r) {
    std::string out;
    {
        JsonObjectWriter o(out);
        o.text("time", r.time);
        o.text("account", r.account);
        o.text("uidl", r.uidl);
        o.number("size", r.size);
        o.text("from", r.from);
        o.text("subject", r.subject);
        o.text("date", r.date);
        o.numbers("levels", r.levels);
        o.texts("reasons", r.reasons);
        o.text("taggedBy", r.taggedByHand ? "hand" : "rule");
        o.boolean("blackListed", r.blackListed);
    }
    return out;
}

std::optional<DeletionRecord> ParseDeletionLine(std::string_view line) {
    const auto object = readJsonFlatObject(line);
    DeletionRecord record;
    if (!object || !readRecord(*object, record)) return std::nullopt;
    return record;
}

std::string DeletionReasons(const DeletionRecord& r) {
    std::string out = r.taggedByHand ? "tagged by hand" : "tagged by the rule";
    if (r.blackListed) out += "; sender on the black list";
    for (std::size_t i = 0; i < kRiskCategories; ++i) {
        if (r.levels[i] == kLevelNone) continue;
        out += "; ";
        out += kCategoryNames[i];
        out += ' ';
        out += kLevelNames[std::min<std::size_t>(r.levels[i], kLevelRed)];
        if (!r.reasons[i].empty()) out += ": " + r.reasons[i];
    }
    return out;
}

std::string IsoUtcTime(const SystemTime& t) {
    char text[48];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

bool RecordedWithin(const DeletionRecord& record, const SystemTime& now, int days) {
    const auto then = isoSeconds(record.time);
    const auto present = utcSeconds(now);
    return then && present && *present - *then <= static_cast<std::int64_t>(days) * 86400;
}

std::vector<std::string> DeletionLog::lines() const {
    std::vector<std::string> out;
    std::ifstream file(m_path, std::ios::binary);
    for (std::string line; std::getline(file, line);)
        if (!line.empty()) out.push_back(std::move(line));
    return out;
}

int DeletionLog::write(const std::vector<std::string>& lines) const {
    std::string content;
    for (const std::string& line : lines) content += line + '\n';
    return writeFileAtomically(m_path, content, kOwnerOnly);
}

int DeletionLog::append(const std::vector<DeletionRecord>& records) const {
    if (records.empty()) return 0;
    std::vector<std::string> all = lines();
    for (const DeletionRecord& record : records) all.push_back(DeletionLine(record));
    return write(all);
}

std::vector<DeletionRecord> DeletionLog::read() const {
    std::vector<DeletionRecord> out;
    for (const std::string& line : lines())
        if (auto record = ParseDeletionLine(line)) out.push_back(std::move(*record));
    return out;
}

int DeletionLog::prune(const SystemTime& now) const {
    const std::vector<std::string> all = lines();
    std::vector<std::string> kept;
    for (const std::string& line : all) {
        const auto record = ParseDeletionLine(line);
        if (record && RecordedWithin(*record, now, kDeletionLogDays)) kept.push_back(line);
    }
    return kept.size() == all.size() ? 0 : write(kept);
}

}  // namespace qlt
