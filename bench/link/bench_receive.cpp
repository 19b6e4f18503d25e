// Bytes per second through the per-byte receive path, and proof that it allocates
// nothing: global operator new is counted while the traffic is fed.
#include "link/frameassembler.h"
#include "link/receivehandler.h"
#include "link/trafficlog.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<long long> allocations { 0 };

class CountingHandler final : public ReceiveHandler
{
public:
    void HandleStatusCode(std::uint8_t code) override { statusSum += code; }
    void DispatchFrame(const MessageFrame &frame) override { frameSum += frame.Nibble[7]; }

    long long statusSum = 0;
    long long frameSum = 0;
};

// Traffic as the station sends it during a radio test: status codes, number and
// factory number frames, measurements, with a status code inside a frame now and then.
std::vector<std::uint8_t> StationTraffic()
{
    const std::vector<std::uint8_t> pattern = {
        0xC9,
        0xA9,
        0x93,
        0xA1,
        0xBB,
        0xB6,
        0xCB,
        0xEC,
        0x89,
        0x87,
        0x81,
        0x82,
        0x83,
        0x84,
        0x81,
        0x82,
        0xED,
        0xEE,
        0x80,
        0x81,
        0x82,
        0x83,
        0x84,
        0x85,
        0x86,
        0x87,
        0xEF,
        0xF8,
        0x81,
        0x82,
        0x83,
        0x84,
        0xCB,
        0x85,
        0x86,
        0x80,
        0x82,
        0xF9,
        0xEA,
        0x80,
        0x83,
        0x81,
        0x82,
        0x83,
        0x84,
        0x85,
        0x86,
        0xEB,
        0xCC,
        0xA4,
        0x41,
        0xE2,
        0x80,
        0x80,
        0x80,
        0x80,
        0x80,
        0x80,
        0x80,
        0x82,
        0xE3,
        0xC0,
    };
    std::vector<std::uint8_t> traffic;
    while (traffic.size() < 64 * 1024) {
        traffic.insert(traffic.end(), pattern.begin(), pattern.end());
    }
    return traffic;
}

void BM_HandleReceivedByte(benchmark::State &state)
{
    const std::vector<std::uint8_t> traffic = StationTraffic();
    CountingHandler handler;
    TrafficLog log;
    FrameAssembler assembler(handler, log);

    const long long before = allocations.load();
    for (auto _ : state) {
        for (std::uint8_t b : traffic) {
            assembler.HandleReceivedByte(b);
        }
        benchmark::DoNotOptimize(handler.frameSum);
    }
    const long long allocated = allocations.load() - before;

    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * traffic.size());
    state.counters["allocations"] = static_cast<double>(allocated);
    if (allocated != 0) {
        state.SkipWithError("the receive path allocated memory");
    }
}
BENCHMARK(BM_HandleReceivedByte);

} // namespace

void *operator new(std::size_t size)
{
    ++allocations;
    if (void *p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

BENCHMARK_MAIN();
