#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "base/MessageList.h"
#include "content/EntryFiller.h"
#include "content/HtmlToText.h"

// Live heap of this program, as malloc really hands it out (usable size of
// each block, so rounding is counted), plus the count of live blocks.
namespace {
std::atomic<long long> g_liveBytes{0};
std::atomic<long long> g_liveBlocks{0};

void* countedAlloc(std::size_t n) {
    void* p = std::malloc(n == 0 ? 1 : n);
    if (!p) throw std::bad_alloc();
    g_liveBytes += static_cast<long long>(malloc_usable_size(p));
    ++g_liveBlocks;
    return p;
}

void countedFree(void* p) noexcept {
    if (!p) return;
    g_liveBytes -= static_cast<long long>(malloc_usable_size(p));
    --g_liveBlocks;
    std::free(p);
}
}  // namespace

void* operator new(std::size_t n) {
    return countedAlloc(n);
}
void* operator new[](std::size_t n) {
    return countedAlloc(n);
}
void operator delete(void* p) noexcept {
    countedFree(p);
}
void operator delete[](void* p) noexcept {
    countedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    countedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    countedFree(p);
}

namespace {

// A TOP reply of the usual shape: about 2 KB of headers (a relay chain), a
// multipart/alternative body whose plain part fills the preview, cut by TOP
// inside its second part, so the entry records two parts.
std::string typicalReply() {
    std::string r;
    for (int i = 0; r.size() < 1700; ++i)
        r += "Received: from relay" + std::to_string(i) +
             ".example.net (relay.example.net [203.0.113.9])\r\n\tby mx.example.org with ESMTP id 4F2A" +
             std::to_string(i) + "; Tue, 11 Mar 2003 09:14:52 +0000\r\n";
    r +=
        "From: Margit Holloway <margit.holloway@fennick.example>\r\nTo: Dana Pruitt "
        "<dana@quillhost.example>\r\n"
        "Subject: Minutes of Monday's allotment meeting and the seed swap\r\nDate: Tue, 11 Mar 2003 09:14:50 "
        "+0000\r\nMIME-Version: 1.0\r\nContent-Type: multipart/alternative; boundary=\"=_alt_2231\"\r\n\r\n"
        "--=_alt_2231\r\nContent-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: "
        "7bit\r\n\r\n";
    while (r.size() < 5000)
        r += "The water butts are going in by the north gate, and the bins move off the path.\r\n";
    r += "--=_alt_2231\r\nContent-Type: text/html; charset=us-ascii\r\n\r\n<html><body><p>The water butts";
    return r;
}

qlt::MessageOrigin originOf(const std::string& reply, int number) {
    qlt::MessageOrigin origin;
    origin.uidl = "1f2e3d4c5b6a79880011223344556677";
    origin.size = static_cast<std::int32_t>(reply.size()) + 20000;
    origin.messageNumber = number;
    origin.accountIndex = 1;
    return origin;
}

void BM_TypicalEntryHeap(benchmark::State& state) {
    const std::string reply = typicalReply();
    constexpr int kEntries = 10000;
    long long bytes = 0;
    long long blocks = 0;
    for (auto _ : state) {
        const long long bytesBefore = g_liveBytes.load();
        const long long blocksBefore = g_liveBlocks.load();
        {
            qlt::MessageList list;
            for (int i = 1; i <= kEntries; ++i) list.append(qlt::FillEntry(reply, originOf(reply, i)).entry);
            bytes = g_liveBytes.load() - bytesBefore;
            blocks = g_liveBlocks.load() - blocksBefore;
            benchmark::DoNotOptimize(list.count());
        }
    }
    const qlt::MessageEntry sample = qlt::FillEntry(reply, originOf(reply, 1)).entry;
    state.counters["bytes_per_entry"] = static_cast<double>(bytes) / kEntries;
    // glibc keeps an 8-byte size word in front of every block on top of its usable size.
    state.counters["bytes_per_entry_with_malloc_headers"] =
        static_cast<double>(bytes + 8 * blocks) / kEntries;
    state.counters["blocks_per_entry"] = static_cast<double>(blocks) / kEntries;
    state.counters["sizeof_entry"] = sizeof(qlt::MessageEntry);
    state.counters["headers_len"] = static_cast<double>(sample.headers.size());
    state.counters["preview_len"] = static_cast<double>(sample.preview.size());
    state.counters["parts"] = sample.partCount();
}
BENCHMARK(BM_TypicalEntryHeap)->Unit(benchmark::kMillisecond)->Iterations(3);

// A scan's appends, one entry per message: the time per entry should not
// grow with the list.
void BM_AppendToList(benchmark::State& state) {
    const std::string reply = typicalReply();
    const qlt::MessageEntry entry = qlt::FillEntry(reply, originOf(reply, 1)).entry;
    const auto entries = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        qlt::MessageList list;
        for (std::size_t i = 0; i < entries; ++i) list.append(entry);
        benchmark::DoNotOptimize(list.count());
    }
    state.counters["per_entry"] =
        benchmark::Counter(static_cast<double>(state.iterations() * entries),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AppendToList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FillTypicalEntry(benchmark::State& state) {
    const std::string reply = typicalReply();
    for (auto _ : state) benchmark::DoNotOptimize(qlt::FillEntry(reply, originOf(reply, 1)));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply.size()));
}
BENCHMARK(BM_FillTypicalEntry);

std::string repeated(std::string_view piece, std::size_t total, std::string_view lead = {}) {
    std::string out(lead);
    while (out.size() < total) out += piece;
    return out;
}

// 300 KB of HTML of several shapes, the hostile ones included: links that
// hold '<' and so must be read again, entities that unfold into each other,
// one unclosed tag.
void BM_HtmlToText(benchmark::State& state) {
    static const std::string inputs[] = {
        repeated("<p class=\"x\">Some <b>words</b> &amp; <a href=\"http://h.example/p\">a link</a><br>\r\n",
                 300000),
        repeated("<a \"http:<http:<", 300000) + "\">",
        repeated("<a \"http:<\">", 300000, "<"),
        repeated("&amp;amp;amp;", 300000),
        repeated("=\r", 150000) + repeated("\r\n", 150000),
        repeated("x", 300000, "<"),
    };
    const std::string& html = inputs[state.range(0)];
    for (auto _ : state) benchmark::DoNotOptimize(qlt::HtmlToText(html));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * html.size()));
}
BENCHMARK(BM_HtmlToText)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

}  // namespace
