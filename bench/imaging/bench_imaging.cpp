// Times the geometry operations on a 6000 × 4000 8-bit RGB image held in memory, one thread.
//   bench_imaging [RUNS [WORD]]   prints the best wall-clock and CPU time of RUNS (default 5) per
//                                 operation, in ms; with WORD only the operations whose name has it
//   bench_imaging --ppm FILE      writes the test image as a binary PPM for the peer tools
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "imaging/GeometryOperations.h"

using namespace imaging;

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

// Smooth gradients with a little deterministic noise: neither flat nor random.
std::unique_ptr<Image> makeTestImage() {
    auto image = std::make_unique<Image>(ImageHeader::Create(nullptr, kWidth, kHeight, 8, icRGB, 0, 0, 0));
    std::uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t *row = image->line(y);
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 28) - 8;
            row[3 * x] = std::uint8_t(std::clamp(x * 255 / kWidth + noise, 0, 255));
            row[3 * x + 1] = std::uint8_t(std::clamp(y * 255 / kHeight + noise, 0, 255));
            row[3 * x + 2] = std::uint8_t(std::clamp(((x + y) / 16) % 256 + noise, 0, 255));
        }
    }
    return image;
}

double cpuMilliseconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Timing {
    double wall = 1e300, cpu = 1e300;
};

// Best wall-clock and best CPU time (user + system, which on a busy machine leaves out the time
// spent waiting for a core) over the runs.
Timing best(int runs, const std::function<std::unique_ptr<Image>()> &run) {
    Timing t;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuMilliseconds();
        std::unique_ptr<Image> result = run();
        const double cpu = cpuMilliseconds() - cpuStart;
        const auto end = std::chrono::steady_clock::now();
        t.wall = std::min(t.wall, std::chrono::duration<double, std::milli>(end - start).count());
        t.cpu = std::min(t.cpu, cpu);
    }
    return t;
}

} // namespace

int main(int argc, char **argv) {
    const auto image = makeTestImage();
    if (argc == 3 && std::strcmp(argv[1], "--ppm") == 0) {
        FILE *f = std::fopen(argv[2], "wb");
        if (!f) return 1;
        std::fprintf(f, "P6\n%d %d\n255\n", kWidth, kHeight);
        const bool ok = std::fwrite(image->data().data(), 1, image->data().size(), f) == image->data().size();
        return std::fclose(f) == 0 && ok ? 0 : 1;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const Image *source = image.get();
    struct Case {
        const char *name;
        std::function<std::unique_ptr<Image>()> run;
    };
    const Case cases[] = {
        {"resize to half, bilinear",
         [&] { return ResizeOperation(kWidth / 2, kHeight / 2, iiBilinear).apply(source); }},
        {"resize to double, nearest",
         [&] { return ResizeOperation(kWidth * 2, kHeight * 2, iiNearest).apply(source); }},
        {"rotate 30 degrees, bilinear", [&] { return RotateOperation(30, iiBilinear).apply(source); }},
        {"flip x", [&] { return FlipXOperation().apply(source); }},
        {"flip y", [&] { return FlipYOperation().apply(source); }},
        {"crop to the centre quarter",
         [&] { return CropOperation(kWidth / 4, kHeight / 4, kWidth / 2, kHeight / 2).apply(source); }},
    };
    std::printf("%d x %d 8-bit RGB, best of %d runs\n", kWidth, kHeight, runs);
    for (const Case &c : cases)
        if (argc < 3 || std::strstr(c.name, argv[2])) {
            const Timing t = best(runs, c.run);
            std::printf("%-30s %8.1f ms %8.1f ms cpu\n", c.name, t.wall, t.cpu);
        }
    return 0;
}
