#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CleanCommand.h"
#include "cli/CommandHelp.h"
#include "cli/DictCommand.h"
#include "cli/LogCommand.h"
#include "cli/RateCommand.h"
#include "cli/ScanCommand.h"
#include "store/Codec.h"

namespace {

qlt::Bytes readAll(std::istream& in) {
    return qlt::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const qlt::Bytes& bytes) {
    std::cout.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
}

int runCodec(std::string_view op) {
    qlt::Bytes data = readAll(std::cin);
    if (op == "compress") {
        writeAll(qlt::Codec::compress(data));
    } else if (op == "decompress") {
        auto plain = qlt::Codec::decompress(data);
        if (!plain) {
            std::cerr << "quillgate-cli: the input is not a readable compressed block\n";
            return 1;
        }
        writeAll(*plain);
    } else if (op == "scramble") {
        qlt::scramble(data);
        writeAll(data);
    } else {
        return qlt::cli::usageError("codec");
    }
    return 0;
}

// Prints the help or the version asked for; false when the words ask for neither.
bool printHelpOrVersion(const std::vector<std::string>& words) {
    if (words.empty()) return false;
    if (words[0] == "--version") {
        std::cout << "quillgate-cli " QLT_VERSION "\n";
        return true;
    }
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        const auto* help = words.size() > 1 ? qlt::cli::findHelp(words[1]) : nullptr;
        std::cout << (help != nullptr ? qlt::cli::helpText(*help) : qlt::cli::overviewText());
        return true;
    }
    const auto* help = qlt::cli::findHelp(words[0]);
    if (help == nullptr || !qlt::cli::asksForHelp({words.begin() + 1, words.end()})) return false;
    std::cout << qlt::cli::helpText(*help);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (printHelpOrVersion(words)) return std::cout.flush() ? 0 : 1;
    if (words.empty()) return qlt::cli::usageError("");
    const std::string& command = words[0];
    const std::vector<std::string> args(words.begin() + 1, words.end());
    if (command == "codec") return args.size() == 1 ? runCodec(args[0]) : qlt::cli::usageError(command);
    if (command == "dict") return qlt::cli::runDict(args);
    if (command == "rate") return qlt::cli::runRate(args);
    if (command == "scan") return qlt::cli::runScan(args);
    if (command == "clean") return qlt::cli::runClean(args);
    if (command == "log") return qlt::cli::runLog(args);
    return qlt::cli::usageError("", "unknown command " + command);
}
