#pragma once
// An offscreen OpenGL context for the stand-in's pictures and for tests, tools and benchmarks:
// Mesa's software rasteriser through EGL on the surfaceless platform, drawing into a pbuffer
// with colour and depth, so no display or GPU is needed. Pixels are read back top row first,
// as images are stored.
#include <string>
#include <vector>

namespace hxgl {

// RGB bytes, rows top-down.
struct TImage
{
  int Width = 0;
  int Height = 0;
  std::vector<unsigned char> RGB;

  const unsigned char* At(int x, int y) const { return &RGB[(std::size_t(y) * Width + x) * 3]; }
};

class TOffscreenContext
{
public:
  // Creates the context with a width x height pbuffer and makes it current; the viewport
  // covers the pbuffer. Ok() says whether it worked and Error() why not.
  TOffscreenContext(int width, int height);
  ~TOffscreenContext();
  TOffscreenContext(const TOffscreenContext&) = delete;
  TOffscreenContext& operator=(const TOffscreenContext&) = delete;

  bool Ok() const { return Current; }
  const std::string& Error() const { return Why; }
  bool MakeCurrent();
  TImage Read() const;
  // Projection mapping pixel centres to whole units: (0, 0) bottom left, y up.
  void PixelOrtho() const;

  const int Width;
  const int Height;

private:
  void* Display = nullptr;
  void* Surface = nullptr;
  void* Context = nullptr;
  bool Current = false;
  std::string Why;
};

bool WritePng(const std::string& path, const TImage& image);
// The image as the bytes of a PNG file.
bool EncodePng(const TImage& image, std::string& bytes);
bool ReadPng(const std::string& path, TImage& image);

// Pixels whose largest channel difference is above the tolerance, and the largest difference.
struct TImageDiff
{
  long Over = 0;
  int Worst = 0;
  bool SameSize = true;
};
TImageDiff Compare(const TImage& a, const TImage& b, int tolerance);

} // namespace hxgl
