// Cost of the message stack, which nearly every framework operation pushes and pops.

#include <benchmark/benchmark.h>

#include <string>

#include "debug/message_stack.hpp"

namespace {

void BM_ScopedLiteralPushPop(benchmark::State& state) {
    lumo::debug::MessageScope outer("outer()");
    for (auto _ : state) {
        lumo::debug::MessageScope scope("Bitmask::checkCollision()");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ScopedLiteralPushPop);

void BM_NestedScopes(benchmark::State& state) {
    for (auto _ : state) {
        lumo::debug::MessageScope a("a()");
        lumo::debug::MessageScope b("b()");
        lumo::debug::MessageScope c("c()");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_NestedScopes);

void BM_StringPushPop(benchmark::State& state) {
    const std::string text = "a dynamically built message text of some length";
    for (auto _ : state) {
        lumo::debug::addMessage(text);
        lumo::debug::removeMessage();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StringPushPop);

}  // namespace

BENCHMARK_MAIN();
