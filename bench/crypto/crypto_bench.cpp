// DES throughput against OpenSSL's DES-ECB on the same data, and the cost of enciphering
// the short texts the program stores. Prints our throughput as a share of OpenSSL's.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/provider.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "crypto/des.h"
#include "crypto/text_cipher.h"

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr crypto::KeyBlock kKey = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};

const std::vector<unsigned char>& Buffer() {
  static const std::vector<unsigned char> buffer = [] {
    std::vector<unsigned char> b(kBufferSize);
    std::mt19937 random(1);
    for (auto& byte : b) byte = static_cast<unsigned char>(random());
    return b;
  }();
  return buffer;
}

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

CipherContext OpenSslDesEcb(const unsigned char* key) {
  static const bool loaded = OSSL_PROVIDER_load(nullptr, "legacy") && OSSL_PROVIDER_load(nullptr, "default");
  static EVP_CIPHER* const cipher = loaded ? EVP_CIPHER_fetch(nullptr, "DES-ECB", nullptr) : nullptr;
  CipherContext ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  if (!cipher || !ctx || EVP_EncryptInit_ex(ctx.get(), cipher, nullptr, key, nullptr) != 1) {
    throw std::runtime_error("OpenSSL DES-ECB is not available");
  }
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  return ctx;
}

void CryptBlockOneMiB(benchmark::State& state) {
  const auto& in = Buffer();
  std::vector<unsigned char> out(kBufferSize);
  const crypto::Subkeys subkeys = crypto::MakeSubkeys(kKey, true);
  for (auto _ : state) {
    for (std::size_t at = 0; at < kBufferSize; at += 8) {
      crypto::Block block;
      std::copy_n(in.data() + at, 8, block.begin());
      const crypto::Block result = crypto::CryptBlock(subkeys, block);
      std::copy(result.begin(), result.end(), out.data() + at);
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBufferSize));
}
BENCHMARK(CryptBlockOneMiB);

void OpenSslDesEcbOneMiB(benchmark::State& state) {
  const auto& in = Buffer();
  std::vector<unsigned char> out(kBufferSize + 8);
  const CipherContext ctx = OpenSslDesEcb(kKey.data());
  for (auto _ : state) {
    int written = 0;
    EVP_EncryptUpdate(ctx.get(), out.data(), &written, in.data(), static_cast<int>(kBufferSize));
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBufferSize));
}
BENCHMARK(OpenSslDesEcbOneMiB);

// Key set-up, zero padding and hexadecimal form included, as for one stored field.
void EncryptTextShort(benchmark::State& state) {
  const std::string plain(static_cast<std::size_t>(state.range(0)), 'p');
  for (auto _ : state) benchmark::DoNotOptimize(crypto::EncryptText(plain, "48213957"));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(EncryptTextShort)->Arg(6)->Arg(16)->Arg(40);

// The same field through OpenSSL: key set-up, one zero-padded run of blocks, hexadecimal.
void OpenSslTextShort(benchmark::State& state) {
  const std::string plain(static_cast<std::size_t>(state.range(0)), 'p');
  const crypto::KeyBlock key = crypto::FoldKey("48213957");
  std::vector<unsigned char> padded(std::max<std::size_t>(8, (plain.size() + 7) / 8 * 8), 0);
  std::copy(plain.begin(), plain.end(), padded.begin());
  std::vector<unsigned char> out(padded.size() + 8);
  CipherContext ctx = OpenSslDesEcb(key.data());
  for (auto _ : state) {
    EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, key.data(), nullptr);
    int written = 0;
    EVP_EncryptUpdate(ctx.get(), out.data(), &written, padded.data(), static_cast<int>(padded.size()));
    std::string hex;
    for (int i = 0; i < written; ++i) {
      hex += "0123456789ABCDEF"[out[static_cast<std::size_t>(i)] >> 4];
      hex += "0123456789ABCDEF"[out[static_cast<std::size_t>(i)] & 0xf];
    }
    benchmark::DoNotOptimize(hex);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(OpenSslTextShort)->Arg(6)->Arg(16)->Arg(40);

void DecryptTextShort(benchmark::State& state) {
  const std::string cipher =
      crypto::EncryptText(std::string(static_cast<std::size_t>(state.range(0)), 'p'), "48213957");
  for (auto _ : state) benchmark::DoNotOptimize(crypto::DecryptText(cipher, "48213957"));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DecryptTextShort)->Arg(6)->Arg(16)->Arg(40);

// Prints the runs as usual and keeps the rates for the closing ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      for (const char* counter : {"bytes_per_second", "items_per_second"}) {
        const auto rate = run.counters.find(counter);
        if (rate != run.counters.end()) rates_[run.benchmark_name()] = rate->second.value;
      }
    }
  }
  double rate(const std::string& name) const {
    const auto found = rates_.find(name);
    return found == rates_.end() ? 0.0 : found->second;
  }

 private:
  std::map<std::string, double> rates_;  // per second, by benchmark name
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto printRatio = [&](const char* what, const std::string& ours, const std::string& openssl) {
    const double a = reporter.rate(ours);
    const double b = reporter.rate(openssl);
    if (a > 0 && b > 0) std::printf("%s ratio (ours / OpenSSL): %.2f\n", what, a / b);
  };
  printRatio("DES-ECB throughput", "CryptBlockOneMiB", "OpenSslDesEcbOneMiB");
  for (const char* length : {"6", "16", "40"}) {
    printRatio((std::string("Text of ") + length + " bytes").c_str(), std::string("EncryptTextShort/") + length,
               std::string("OpenSslTextShort/") + length);
  }
  benchmark::Shutdown();
  return 0;
}
