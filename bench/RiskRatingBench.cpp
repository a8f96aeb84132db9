#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "content/EntryFiller.h"
#include "risk/KeywordDictionary.h"
#include "risk/RiskRating.h"
#include "risk/SenderList.h"
#include "store/BuiltInTexts.h"

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

void loadShipped(qlt::KeywordDictionary& dictionary, benchmark::State& state) {
    SilentUi ui;
    dictionary.loadDictionary(ui, {shippedDictionary(), ""});
    if (dictionary.count() < 300) state.SkipWithError("the shipped dictionary did not load");
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
    qlt::KeywordDictionary dictionary;
    loadShipped(dictionary, state);
    const TypicalMessage m = typicalMessage();
    for (auto _ : state) {
        qlt::MessageEntry e = m.entry;
        rateMessage(dictionary, m.body, e, "bob");
        benchmark::DoNotOptimize(e.level);
    }
}
BENCHMARK(BM_RateTypicalMessage);

// A typical 4 KB TOP reply: relay headers, then a newsletter as plain text
// (range 0) or as a text and an HTML alternative (range 1).
std::string typicalReply(bool alternative) {
    constexpr std::size_t kSize = 4096;
    std::string r;
    for (int i = 0; r.size() < 900; ++i) {
        r.append("Received: from relay").append(std::to_string(i));
        r.append(
            ".example.net (relay.example.net [203.0.113.9])\r\n\tby mx.example.org with ESMTP; "
            "Tue, 11 Mar 2003 09:14:52 +0000\r\n");
    }
    r.append(
        "From: Shop News <news@shop.example.com>\r\nTo: bob@example.org\r\n"
        "Subject: Your weekly selection of garden tools\r\nDate: Tue, 11 Mar 2003 09:14:50 +0000\r\n"
        "MIME-Version: 1.0\r\n");
    const std::string_view line =
        "Dear customer, this week we have new spades, rakes and hoses at http://shop.example.com/garden.\r\n";
    if (!alternative) {
        r.append("Content-Type: text/plain; charset=us-ascii\r\n\r\n");
        while (r.size() + line.size() < kSize) r.append(line);
        return r;
    }
    r.append(
        "Content-Type: multipart/alternative; boundary=\"=_alt_2231\"\r\n\r\n--=_alt_2231\r\n"
        "Content-Type: text/plain; charset=us-ascii\r\n\r\n");
    while (r.size() < 2400) r.append(line);
    r.append("--=_alt_2231\r\nContent-Type: text/html; charset=us-ascii\r\n\r\n<html><body>");
    while (r.size() < kSize - 40)
        r.append("<p>New <b>spades</b> &amp; rakes at <a href=\"http://shop.example.com\">");
    r.append("</body></html>\r\n--=_alt_2231--\r\n");
    return r;
}

// What a scan does per message once the reply is in: fill the entry, rate it.
void BM_FillAndRateTypicalMessage(benchmark::State& state) {
    qlt::KeywordDictionary dictionary;
    loadShipped(dictionary, state);
    const std::string reply = typicalReply(state.range(0) == 1);
    const qlt::MessageOrigin origin{"1f2e3d4c5b6a7988", static_cast<std::int32_t>(reply.size()), 1, 1};
    for (auto _ : state) {
        qlt::FilledMessage filled = qlt::FillEntry(reply, origin);
        if (filled.bodyToRate) rateMessage(dictionary, *filled.bodyToRate, filled.entry, "bob");
        benchmark::DoNotOptimize(filled.entry.level);
    }
    state.counters["reply_bytes"] = static_cast<double>(reply.size());
}
BENCHMARK(BM_FillAndRateTypicalMessage)->ArgName("alternative")->Arg(0)->Arg(1);

void BM_LoadShippedDictionary(benchmark::State& state) {
    SilentUi ui;
    for (auto _ : state) {
        qlt::KeywordDictionary dictionary;
        dictionary.loadDictionary(ui, {shippedDictionary(), ""});
        benchmark::DoNotOptimize(dictionary.count());
    }
}
BENCHMARK(BM_LoadShippedDictionary);

// The marks of 100,000 listed messages from a full sender list file (862
// records, as many as the file may hold), as after every scan and every
// change of the lists.
void BM_ApplyFullSenderList(benchmark::State& state) {
    constexpr std::size_t kMessages = 100000;
    constexpr std::size_t kRecords = 65535 / qlt::SenderRecord::kSize;
    const std::string path = "/tmp/qlt-bench-senders-" + std::to_string(getpid()) + ".dat";
    std::remove(path.c_str());
    SilentUi ui;
    qlt::SenderList senders(ui, path);
    for (std::size_t i = 0; i < kRecords; ++i)
        senders.addSender("listed" + std::to_string(i) + "@example.org",
                          i % 2 == 0 ? qlt::kSenderFriend : qlt::kSenderFoe);
    qlt::MessageList list;
    for (std::size_t i = 0; i < kMessages; ++i) {
        qlt::MessageEntry entry;
        entry.from = "Some Sender <sender" + std::to_string(i % 5000) + "@mail.example.net>";
        list.append(entry);
    }
    for (auto _ : state) senders.applySenderList(list);
    std::remove(path.c_str());
    state.counters["per_message"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kMessages),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ApplyFullSenderList)->Unit(benchmark::kMillisecond);

}  // namespace
