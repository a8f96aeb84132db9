#include "cli/RateCommand.h"

#include <cstdint>
#include <iostream>

#include "cli/CliFiles.h"
#include "cli/CommandHelp.h"
#include "cli/EntryJson.h"
#include "cli/StderrUiPort.h"
#include "content/EntryFiller.h"
#include "risk/KeywordDictionary.h"
#include "risk/RiskRating.h"

namespace qlt::cli {

namespace {

constexpr std::uint8_t kAccountIndex = 1;

int usage(const std::string& error) {
    return usageError("rate", error);
}

bool takesValue(const std::string& option) {
    return option == "--account-name" || option == "--size" || option == "--number" || option == "--dict" ||
           option == "--userlst";
}

bool setOption(RateOptions& options, const std::string& option, const std::string& value,
               std::string& error) {
    if (option == "--account-name") {
        options.accountName = value;
    } else if (option == "--dict") {
        options.dictionary = value;
    } else if (option == "--userlst") {
        options.userStrings = value;
    } else {
        const auto number = parseInt32(value);
        if (!number) {
            error = option + " needs a whole number, not \"" + value + "\"";
            return false;
        }
        if (option == "--size") {
            options.size = *number;
        } else {
            options.messageNumber = *number;
        }
    }
    return true;
}

// True when the file the option names, if any, can be read.
bool namedFileReadable(const std::string& path, std::string& error) {
    return path.empty() || readFile(path, error).has_value();
}

std::string rateFile(const RateOptions& options, const std::string& text) {
    const std::string reply = toTopReply(text);
    StderrUiPort ui;
    KeywordDictionary dictionary;
    dictionary.loadDictionary(
        ui, {options.dictionary.empty() ? shippedDictionary() : options.dictionary, options.userStrings});

    const MessageOrigin origin{
        .uidl = {},
        .size = static_cast<std::int32_t>(options.size.value_or(static_cast<long long>(reply.size()))),
        .messageNumber = static_cast<std::int32_t>(options.messageNumber),
        .accountIndex = kAccountIndex,
    };
    FilledMessage filled = FillEntry(reply, origin);
    if (filled.bodyToRate) rateMessage(dictionary, *filled.bodyToRate, filled.entry, options.accountName);
    if (options.full) rateText(dictionary, reply, filled.entry);
    return entryJson(filled.entry);
}

}  // namespace

std::string toTopReply(std::string_view raw) {
    std::string out;
    out.reserve(raw.size() + raw.size() / 32 + 1);
    char previous = '\0';
    for (const char ch : raw) {
        if (ch == '\n' && previous != '\r') out.push_back('\r');
        out.push_back(ch);
        previous = ch;
    }
    return out;
}

std::optional<RateOptions> parseRateOptions(const std::vector<std::string>& args, std::string& error) {
    RateOptions options;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--full") {
            options.full = true;
        } else if (takesValue(arg)) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            if (!setOption(options, arg, args[++i], error)) return std::nullopt;
        } else if (arg.starts_with("--")) {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (haveFile) {
            error = "only one message file, please";
            return std::nullopt;
        } else {
            options.file = arg;
            haveFile = true;
        }
    }
    if (!haveFile) {
        error = "no message file named";
        return std::nullopt;
    }
    return options;
}

int runRate(const std::vector<std::string>& args) {
    std::string error;
    const auto options = parseRateOptions(args, error);
    if (!options) return usage(error);
    const auto text = readFile(options->file, error);
    if (!text || !namedFileReadable(options->dictionary, error) ||
        !namedFileReadable(options->userStrings, error)) {
        std::cerr << "quillgate-cli rate: " << error << '\n';
        return 1;
    }
    std::cout << rateFile(*options, *text) << '\n';
    return std::cout.flush() ? 0 : 1;
}

}  // namespace qlt::cli
