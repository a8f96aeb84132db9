#include "risk/ReasonWords.h"

#include <algorithm>
#include <array>

namespace qlt {

namespace {

struct RuleWords {
    std::uint32_t reason;
    std::string_view words;
};

constexpr std::array<RuleWords, 9> kRuleWords = {{
    {kReasonNotAddressed, "not addressed to this account"},
    {kReasonBase64Body, "body is base64-encoded"},
    {kReasonDisguisedSubject, "disguised word in the subject"},
    {kReasonDisguisedPreview, "disguised word in the text"},
    {kReasonEncodedUrl, "link hidden by %xx escapes"},
    {kReasonNoSender, "no sender"},
    {kReasonLink, "holds a link"},
    {kReasonCidReference, "refers to an embedded part"},
    {kReasonRiskyAttachment, "attachment of a risky file type"},
}};

std::string_view placeWords(std::uint8_t where) {
    switch (where) {
        case kWhereText:
            return "in the text";
        case kWhereHeaders:
            return "in the headers";
        case kWhereFrom:
            return "in the sender";
        case kWhereSubject:
            return "in the subject";
        default:
            return "";
    }
}

}  // namespace

std::string_view ruleReasonWords(std::uint32_t reason) {
    const auto* found =
        std::ranges::find_if(kRuleWords, [reason](const RuleWords& rule) { return rule.reason == reason; });
    return found == kRuleWords.end() ? std::string_view() : found->words;
}

std::string recordReasonWords(const KeywordRecord& record) {
    std::string words = "\"";
    words += record.textView();
    words += "\" ";
    words += placeWords(record.where);
    return words;
}

}  // namespace qlt
