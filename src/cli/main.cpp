#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "cli/DictCommand.h"
#include "cli/RateCommand.h"
#include "store/Codec.h"

namespace {

int usage() {
    std::cerr << "usage: quillgate-cli codec compress|decompress|scramble   (bytes from stdin to stdout)\n"
                 "       quillgate-cli dict build SOURCE -o FILE\n"
                 "       quillgate-cli dict dump [FILE] [--userlst PATH]\n"
                 "       quillgate-cli rate FILE [--account-name NAME] [--size N] [--number N]\n"
                 "                          [--dict PATH] [--userlst PATH] [--full]\n";
    return 2;
}

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
        return usage();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc == 3 && std::string_view(argv[1]) == "codec") return runCodec(argv[2]);
    if (argc >= 2 && std::string_view(argv[1]) == "dict")
        return qlt::cli::runDict(std::vector<std::string>(argv + 2, argv + argc));
    if (argc >= 2 && std::string_view(argv[1]) == "rate")
        return qlt::cli::runRate(std::vector<std::string>(argv + 2, argv + argc));
    return usage();
}
