// Times the geometry operations on a 6000 × 4000 8-bit RGB image held in memory, one thread.
//   bench_imaging [RUNS]          prints the best of RUNS (default 5) per operation, in ms
//   bench_imaging --ppm FILE      writes the test image as a binary PPM for the peer tools
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    std::uint8_t* row = image->line(y);
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

double bestMilliseconds(int runs, const std::function<std::unique_ptr<Image>()>& run) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<Image> result = run();
    const auto end = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const auto image = makeTestImage();
  if (argc == 3 && std::strcmp(argv[1], "--ppm") == 0) {
    FILE* f = std::fopen(argv[2], "wb");
    if (!f) return 1;
    std::fprintf(f, "P6\n%d %d\n255\n", kWidth, kHeight);
    const bool ok = std::fwrite(image->data().data(), 1, image->data().size(), f) == image->data().size();
    return std::fclose(f) == 0 && ok ? 0 : 1;
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const Image* source = image.get();
  struct Case {
    const char* name;
    std::function<std::unique_ptr<Image>()> run;
  };
  const Case cases[] = {
      {"resize to half, bilinear", [&] { return ResizeOperation(kWidth / 2, kHeight / 2, iiBilinear).apply(source); }},
      {"resize to double, nearest", [&] { return ResizeOperation(kWidth * 2, kHeight * 2, iiNearest).apply(source); }},
      {"rotate 30 degrees, bilinear", [&] { return RotateOperation(30, iiBilinear).apply(source); }},
      {"flip x", [&] { return FlipXOperation().apply(source); }},
      {"flip y", [&] { return FlipYOperation().apply(source); }},
      {"crop to the centre quarter", [&] { return CropOperation(kWidth / 4, kHeight / 4, kWidth / 2, kHeight / 2).apply(source); }},
  };
  std::printf("%d x %d 8-bit RGB, best of %d runs\n", kWidth, kHeight, runs);
  for (const Case& c : cases) std::printf("%-30s %8.1f ms\n", c.name, bestMilliseconds(runs, c.run));
  return 0;
}
