#include <benchmark/benchmark.h>

#include <string>

#include "store/Codec.h"

namespace {

qlt::Bytes accountLikeData(std::size_t records) {
    qlt::Bytes out;
    for (std::size_t i = 0; i < records; ++i) {
        const std::string rec = "pop" + std::to_string(i) + ".example.org" + std::string(40, '\0') + "user" +
                                std::to_string(i) + std::string(250, '\0');
        out.insert(out.end(), rec.begin(), rec.end());
    }
    return out;
}

void BM_CompressStore(benchmark::State& state) {
    const qlt::Bytes input = accountLikeData(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(qlt::Codec::compress(input));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_CompressStore)->Arg(32)->Arg(1000);

void BM_DecompressStore(benchmark::State& state) {
    const qlt::Bytes block = qlt::Codec::compress(accountLikeData(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(qlt::Codec::decompress(block));
}
BENCHMARK(BM_DecompressStore)->Arg(32)->Arg(1000);

}  // namespace
