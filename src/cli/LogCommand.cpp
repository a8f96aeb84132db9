#include "cli/LogCommand.h"

#include <iostream>
#include <optional>

#include "base/Clock.h"
#include "cli/CliFiles.h"
#include "cli/CliText.h"
#include "cli/CommandHelp.h"
#include "core/DeletionLog.h"

namespace qlt::cli {
namespace {

struct LogOptions {
    std::optional<int> sinceDays;
    bool json = false;
    std::string dataFolder;  // empty: $XDG_DATA_HOME/quillgate
};

std::optional<LogOptions> parseLogOptions(const std::vector<std::string>& args, std::string& error) {
    LogOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            options.json = true;
            continue;
        }
        if (arg != "--since" && arg != "--data") {
            error = "unknown option " + arg;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (arg == "--data") {
            options.dataFolder = value;
            continue;
        }
        const auto days = parseInt32(value);
        if (!days || *days < 0) {
            error = "--since needs a number of days, not " + value;
            return std::nullopt;
        }
        options.sinceDays = static_cast<int>(*days);
    }
    return options;
}

void printText(const DeletionRecord& r) {
    std::cout << r.time << '\t' << oneLine(r.account) << '\t' << oneLine(r.from) << '\t' << oneLine(r.subject)
              << '\t' << oneLine(DeletionReasons(r)) << '\n';
}

}  // namespace

int runLog(const std::vector<std::string>& args) {
    std::string error;
    const auto options = parseLogOptions(args, error);
    if (!options) return usageError("log", error);
    const std::string folder = options->dataFolder.empty() ? defaultDataFolder() : options->dataFolder;
    const SystemTime now = SystemClock().utcNow();
    std::vector<DeletionRecord> records = DeletionLog(folder + "/" + kDeletionLogFileName).read();
    if (options->sinceDays)
        std::erase_if(records,
                      [&](const DeletionRecord& r) { return !RecordedWithin(r, now, *options->sinceDays); });
    if (options->json) {
        std::cout << '[';
        for (std::size_t i = 0; i < records.size(); ++i)
            std::cout << (i == 0 ? "\n" : ",\n") << DeletionLine(records[i]);
        std::cout << "\n]\n";
    } else {
        for (const DeletionRecord& r : records) printText(r);
    }
    return std::cout.flush() ? 0 : 1;
}

}  // namespace qlt::cli
