// One derivation of a protected file's key with the costs the program uses: what every login
// and every check of the master password waits for. It should take 0.3 to 1.5 s on two cores.
#include <benchmark/benchmark.h>

#include "crypto/key_derivation.h"

namespace {

void DeriveFileKey(benchmark::State& state) {
  const crypto::KeySalt salt = crypto::NewKeySalt(crypto::kFileKeyParameters);
  for (auto _ : state) {
    const crypto::HeldKey key = crypto::DeriveFileKey("Secret42", salt, crypto::kFileKeyParameters);
    benchmark::DoNotOptimize(key.bytes().data());
  }
}
BENCHMARK(DeriveFileKey)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
