// A cached message send against a C++ virtual call doing the same work on the same kind of object.
#include "median_report.h"

#include <objc/NSObject.h>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

struct Shape {
    virtual ~Shape() = default;
    virtual long area() const = 0;
};

struct Square : Shape {
    long side = 3;
    long area() const override { return side * side; }
};

struct Rectangle : Shape {
    long width = 3, height = 4;
    long area() const override { return width * height; }
};

// Chosen at run time and made out of line, so the compiler can neither see the dynamic type
// nor guess the only implementation: the call stays a real virtual call.
[[gnu::noinline]] Shape* makeShape(int kind) {
    if (kind == 0) return new Square;
    return new Rectangle;
}

struct BenchSquare : NSObject {
    static Class class_();
    long side = 3;
};

Class BenchSquare::class_() {
    static Class cls = objc::ClassBuilder<BenchSquare>("BenchSquare", NSObject::class_())
                           .method(sel<"area">(), [](BenchSquare* self, SEL) { return self->side * self->side; })
                           .registerClass();
    return cls;
}

void VirtualCall(benchmark::State& state) {
    int kind = static_cast<int>(state.range(0));
    Shape* shape = makeShape(kind);
    for (auto _ : state) {
        benchmark::DoNotOptimize(shape);
        long area = shape->area();
        benchmark::DoNotOptimize(area);
    }
    delete shape;
}
BENCHMARK(VirtualCall)->Arg(0);

void CachedMessageSend(benchmark::State& state) {
    objc::Strong<BenchSquare> square = objc::adopt(objc::createInstance<BenchSquare>());
    SEL area = sel<"area">();
    msg<long>(square.get(), area);  // fills the cache
    BenchSquare* receiver = square.get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(receiver);
        long result = msg<long>(receiver, area);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(CachedMessageSend);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithFigures(argc, argv, "Figures (medians):", [](bench::MedianReport& report) {
        report.quote("C++ virtual call", "VirtualCall/0", "ns");
        report.quote("cached message send", "CachedMessageSend", "ns");
        report.ratio("  cached message send over the virtual call", "CachedMessageSend", "VirtualCall/0", 2);
    });
}
