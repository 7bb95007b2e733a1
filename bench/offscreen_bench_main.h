#pragma once
// The main of a benchmark of windows: a QApplication on the offscreen
// platform around Google Benchmark's run; `done` lets go of what the
// benchmarks kept before the application goes.

#include <QApplication>
#include <benchmark/benchmark.h>

#include <functional>

inline int RunOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& done = {}) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (done) done();
    return 0;
}
