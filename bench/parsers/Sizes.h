#pragma once
// Every parser benchmark runs at the same four multiples of its base size.
// bench/run reads the first and the last (ten times the first) to give the
// cost of ten times the input. A base size is large enough that fixed costs
// do not hide the growth, and that the working set has already outgrown the
// fastest caches: a step between two cache levels is not the parser's.
#include <benchmark/benchmark.h>

namespace parsebench {

inline void Sizes(benchmark::internal::Benchmark* b, long base) {
  b->Arg(base)->Arg(2 * base)->Arg(5 * base)->Arg(10 * base);
  b->Complexity(benchmark::oN);
  b->Unit(benchmark::kMillisecond);
}

}  // namespace parsebench
