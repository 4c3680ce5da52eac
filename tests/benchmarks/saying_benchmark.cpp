// Throughput of the sayings path: ExtractSaying on pages of 4, 16 and 64 KiB,
// and one whole fetch of a 64 KiB response from a server on 127.0.0.1.
// scripts/bench runs this and reads its JSON output.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "inspiration/saying_extract.h"
#include "inspiration/saying_fetch.h"
#include "tests/inspiration/local_tcp_server.h"

namespace {

// A sayings page of exactly `size` bytes: status line and headers, a body tag
// with attributes, then lines of words with a few inline tags, CR LF ends.
std::string sayingsPage(std::size_t size) {
  std::string page =
      "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nServer: bench\r\n\r\n"
      "<html><head><title>Inspiration</title></head>\r\n"
      "<BODY bgcolor=\"#FFFFF0\" text=\"#202020\">\r\n";
  const std::string line =
      "The morning is wide and <b>bright</b>; walk into it with an open hand, "
      "and the day will <i>answer</i> you in kind.<br>\r\n";
  while (page.size() < size) page += line;
  page.resize(size);
  return page;
}

void BM_ExtractSaying(benchmark::State& state) {
  const std::string page = sayingsPage(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    Saying = page;
    ExtractSaying();
    benchmark::DoNotOptimize(Saying.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_ExtractSaying)->Arg(4 << 10)->Arg(16 << 10)->Arg(64 << 10);

// Nanoseconds for `rounds` extractions of `page`, each after putting the page
// into Saying, as BM_ExtractSaying does.
double extractionNs(const std::string& page, int rounds) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    Saying = page;
    ExtractSaying();
    benchmark::DoNotOptimize(Saying.data());
  }
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
}

// The cost per byte at 64 KiB against 4 KiB, paired: each iteration extracts
// 64 KiB as one page and as sixteen 4 KiB pages, one right after the other,
// so that a busy moment of the machine falls on both alike.
void BM_ExtractSayingPerBytePaired(benchmark::State& state) {
  const std::string small = sayingsPage(4 << 10);
  const std::string large = sayingsPage(64 << 10);
  double smallNs = 0;
  double largeNs = 0;
  for (auto _ : state) {
    smallNs += extractionNs(small, 16);
    largeNs += extractionNs(large, 1);
  }
  state.counters["large_per_small"] = largeNs / smallNs;
}
BENCHMARK(BM_ExtractSayingPerBytePaired)->MinTime(0.5);

// One fetch per iteration: connect, the four request lines, the response in
// one write, the server's close. Reports the bytes the fetch kept.
void BM_FetchSaying64KiB(benchmark::State& state) {
  const std::string response = sayingsPage(64 << 10);
  const auto fetches = static_cast<int>(state.max_iterations);
  test_server::LocalTcpServer server(
      [&response](test_server::Peer& peer) {
        peer.readRequest();
        peer.write(response);
      },
      fetches);
  SayingFetchSettings settings;
  settings.host = "127.0.0.1";
  settings.service = server.service();
  settings.timeoutMs = 5000;
  std::size_t kept = 0;
  for (auto _ : state) {
    FetchSayingPageWith(settings);
    kept = Saying.size();
  }
  server.waitUntilDone();
  state.counters["bytes_sent"] = static_cast<double>(response.size());
  state.counters["bytes_kept"] = static_cast<double>(kept);
}
BENCHMARK(BM_FetchSaying64KiB)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
