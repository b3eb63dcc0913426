// The account name is checked each time it becomes a file name (every weight saved, every
// food log read): the cost of that check, for a usual name and for the longest one allowed.
#include "accounts/accountsstore.h"

#include <benchmark/benchmark.h>

namespace {
void BM_AccountNameCheck(benchmark::State& state) {
    const QString name = QStringLiteral("Hélène");
    for (auto _ : state)
        benchmark::DoNotOptimize(AccountsStore::NameProblem(name));
}

void BM_AccountNameCheck_Longest(benchmark::State& state) {
    const QString name = QString(123, QChar(0xE9)) + QLatin1Char('a');
    for (auto _ : state)
        benchmark::DoNotOptimize(AccountsStore::NameProblem(name));
}
} // namespace

BENCHMARK(BM_AccountNameCheck)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AccountNameCheck_Longest)->Unit(benchmark::kMicrosecond);
