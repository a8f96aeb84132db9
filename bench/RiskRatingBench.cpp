#include <benchmark/benchmark.h>

#include <string>

#include "risk/BuiltInTexts.h"
#include "risk/KeywordDictionary.h"

namespace {

class SilentUi : public qlt::UiPort {
  public:
    qlt::BoxAnswer messageBox(const std::string&, const std::string&, qlt::BoxIcon,
                              qlt::BoxButtons) override {
        return qlt::BoxAnswer::Ok;
    }
    void progress(int, long) override {}
    void pumpPaint() override {}
    void pumpMessages() override {}
};

std::string shippedDictionary() {
    return std::string(QLT_BENCH_RES_DIR) + "/" + qlt::dictionaryFileName();
}

// A typical newsletter-like message: 2 KB of headers, a 4 KB body, a 2 KB preview.
struct TypicalMessage {
    qlt::MessageEntry entry;
    std::string body;
};

TypicalMessage typicalMessage() {
    TypicalMessage m;
    std::string headers =
        "Return-Path: <news@shop.example.com>\r\nReceived: from mx.example.net (mx.example.net "
        "[192.0.2.7])\r\n\tby pop.example.org with ESMTP id 4f2a; Tue, 3 Mar 2026 10:12:01 +0100\r\n";
    while (headers.size() < 2000)
        headers += "X-Trace: relay " + std::to_string(headers.size()) + " checked ok\r\n";
    m.entry.headers = headers;
    m.entry.to = "bob@example.org";
    m.entry.from = "Shop News <news@shop.example.com>";
    m.entry.subject = "Your weekly selection of garden tools";
    std::string body;
    while (body.size() < 4096)
        body +=
            "Dear customer, this week we have new spades, rakes and hoses at www.shop.example.com/garden. "
            "Order before Friday and delivery is free of charge.\r\n";
    m.body = body;
    m.entry.preview = body.substr(0, 2047);
    m.entry.isText = 1;
    m.entry.hasLink = 1;
    return m;
}

void BM_RateTypicalMessage(benchmark::State& state) {
    SilentUi ui;
    qlt::KeywordDictionary dictionary;
    dictionary.loadDictionary(ui, {shippedDictionary(), ""});
    if (dictionary.count() < 300) state.SkipWithError("the shipped dictionary did not load");
    const TypicalMessage m = typicalMessage();
    for (auto _ : state) {
        qlt::MessageEntry e = m.entry;
        dictionary.rateMessage(m.body, e, "bob");
        benchmark::DoNotOptimize(e.level);
    }
}
BENCHMARK(BM_RateTypicalMessage);

void BM_LoadShippedDictionary(benchmark::State& state) {
    SilentUi ui;
    for (auto _ : state) {
        qlt::KeywordDictionary dictionary;
        dictionary.loadDictionary(ui, {shippedDictionary(), ""});
        benchmark::DoNotOptimize(dictionary.count());
    }
}
BENCHMARK(BM_LoadShippedDictionary);

}  // namespace
