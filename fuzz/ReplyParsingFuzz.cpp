// A one-line server reply checked and cut into tokens as every command does.
#include "base/Clock.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "pop3/Pop3Client.h"

int qlt::fuzz::fuzzReplyParsing(const std::uint8_t* data, std::size_t size) {
    using namespace qlt;
    static fuzz::SilentUiPort ui;
    static SystemClock clock;
    // Never connected: a refusal's drain ends at once.
    static Pop3Client client(ui, clock);
    const std::string_view reply = fuzz::asText(data, size);
    (void)client.CheckReply(reply);
    std::vector<std::string> tokens;
    for (const ReplyCleaning cleaning : {ReplyCleaning::Stat, ReplyCleaning::Listing}) {
        const int count = Pop3Client::SplitReply(reply, tokens, cleaning);
        for (int i = 0; i <= count + 1; ++i)
            (void)Pop3Client::TokenNumber(tokens, static_cast<std::size_t>(i));
    }
    return 0;
}
