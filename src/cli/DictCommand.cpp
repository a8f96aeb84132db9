#include "cli/DictCommand.h"

#include <fstream>
#include <iostream>
#include <optional>

#include "base/Json.h"
#include "cli/CliFiles.h"
#include "cli/CommandHelp.h"
#include "cli/StderrUiPort.h"
#include "risk/DictionarySource.h"
#include "risk/KeywordDictionary.h"
#include "store/BuiltInTexts.h"

namespace qlt::cli {

namespace {

int usage() {
    return usageError("dict");
}

int build(const std::string& sourcePath, const std::string& outPath) {
    std::string error;
    const auto source = readFile(sourcePath, error);
    if (!source) {
        std::cerr << "quillgate-cli dict: " << error << '\n';
        return 1;
    }
    const auto file = buildDictionaryFile(*source, error);
    if (!file) {
        std::cerr << sourcePath << ": " << error << '\n';
        return 1;
    }
    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file->data()), static_cast<std::streamsize>(file->size()));
    if (!out.flush()) {
        std::cerr << "quillgate-cli: cannot write " << outPath << '\n';
        return 1;
    }
    return 0;
}

void appendRecord(std::string& out, const KeywordRecord& r) {
    out += "{\"id\":" + std::to_string(r.id) + ",\"text\":";
    appendJsonString(out, r.textView());
    out += ",\"length\":" + std::to_string(r.length) + ",\"category\":" + std::to_string(r.category) +
           ",\"level\":" + std::to_string(r.level) + ",\"where\":" + std::to_string(r.where) + "}";
}

int dump(const std::string& dataFile, const std::string& userStrings) {
    StderrUiPort ui;
    KeywordDictionary dictionary;
    dictionary.loadDictionary(ui, {dataFile, userStrings});
    std::string out = "[";
    for (std::size_t i = 0; i < dictionary.count(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        appendRecord(out, dictionary.at(i));
    }
    out += "\n]\n";
    std::cout << out;
    return 0;
}

}  // namespace

int runDict(const std::vector<std::string>& args) {
    if (args.size() == 4 && args[0] == "build" && args[2] == "-o") return build(args[1], args[3]);
    if (args.empty() || args[0] != "dump") return usage();
    std::optional<std::string> file;
    std::string userStrings;  // none unless asked for
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--userlst" && i + 1 < args.size()) {
            userStrings = args[++i];
        } else if (!file && !args[i].starts_with("--")) {
            file = args[i];
        } else {
            return usage();
        }
    }
    return dump(file.value_or(shippedDictionary()), userStrings);
}

}  // namespace qlt::cli
