#pragma once
// What the benchmarks that draw, measure text or run a whole program share:
// the kit's application object on the offscreen platform (unless another
// platform is named), the UI thread's CPU time and a measuring window that
// the tests shorten through the environment.
// App is QGuiApplication, or QApplication where widgets take part.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>

// The main() of a benchmark that needs nothing but the application object.
template <class App>
int RunBenchmarksOffscreen(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// For a benchmark under BENCHMARK_MAIN: the application object, made on the
// first call and kept for the process.
template <class App>
void StartOffscreenApplication()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static App* app = new App(argc, argv);
    (void)app;
}

// The CPU time of the calling thread (the UI thread), in seconds.
inline double UiThreadCpu()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// The seconds named in the environment variable, when it names more than none.
inline double SecondsFromEnvironment(const char* name, double fallback)
{
    if (const char* s = std::getenv(name); s && std::atof(s) > 0)
        return std::atof(s);
    return fallback;
}
