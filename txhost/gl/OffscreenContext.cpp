#include "txhost/gl/OffscreenContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace hxgl {

TOffscreenContext::TOffscreenContext(int width, int height) : Width(width), Height(height)
{
  // The software rasteriser keeps the golden images the same on every machine.
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  // No on-disk shader cache: tests write nothing into the user's home, and the cache's writer thread, which
  // Mesa ends at exit, made LeakSanitizer's last scan crash when the two met (on two cores, nearly always).
  setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  EGLDisplay d = getPlatformDisplay
                     ? getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr)
                     : EGL_NO_DISPLAY;
  EGLint major = 0, minor = 0;
  if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor)) {
    Why = "no EGL surfaceless display (Mesa's libegl-mesa0 missing?)";
    return;
  }
  Display = d;
  const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                     EGL_PBUFFER_BIT,
                                     EGL_RED_SIZE,
                                     8,
                                     EGL_GREEN_SIZE,
                                     8,
                                     EGL_BLUE_SIZE,
                                     8,
                                     EGL_ALPHA_SIZE,
                                     8,
                                     EGL_DEPTH_SIZE,
                                     24,
                                     EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT,
                                     EGL_NONE};
  EGLConfig config = nullptr;
  EGLint n = 0;
  if (!eglChooseConfig(d, configAttributes, &config, 1, &n) || n < 1) {
    Why = "no EGL configuration with a pbuffer, RGBA8 and depth";
    return;
  }
  const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  Surface = eglCreatePbufferSurface(d, config, surfaceAttributes);
  if (Surface == EGL_NO_SURFACE || !eglBindAPI(EGL_OPENGL_API)) {
    Why = "no pbuffer surface";
    return;
  }
  // No version asked for: Mesa then gives a compatibility profile, which keeps the 1.x calls.
  Context = eglCreateContext(d, config, EGL_NO_CONTEXT, nullptr);
  if (Context == EGL_NO_CONTEXT) {
    Why = "no OpenGL context";
    return;
  }
  if (!MakeCurrent()) {
    Why = "the context could not be made current";
    return;
  }
  glViewport(0, 0, width, height);
}

TOffscreenContext::~TOffscreenContext()
{
  if (!Display) return;
  eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (Context) eglDestroyContext(Display, Context);
  if (Surface) eglDestroySurface(Display, Surface);
  // The display stays initialised: EGL shares it within the process, and terminating it under
  // another live context would pull that one down too.
}

bool TOffscreenContext::MakeCurrent()
{
  Current = Display && Surface && Context && eglMakeCurrent(Display, Surface, Surface, Context);
  return Current;
}

TImage TOffscreenContext::Read() const
{
  TImage im;
  im.Width = Width;
  im.Height = Height;
  im.RGB.resize(std::size_t(Width) * Height * 3);
  std::vector<unsigned char> up(im.RGB.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, Width, Height, GL_RGB, GL_UNSIGNED_BYTE, up.data());
  const std::size_t row = std::size_t(Width) * 3;
  for (int y = 0; y < Height; ++y)
    std::copy_n(&up[std::size_t(Height - 1 - y) * row], row, &im.RGB[std::size_t(y) * row]);
  return im;
}

void TOffscreenContext::PixelOrtho() const
{
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-0.5, Width - 0.5, -0.5, Height - 0.5, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

namespace {
struct TFile
{
  explicit TFile(std::FILE* f) : F(f) {}
  ~TFile()
  {
    if (F) std::fclose(F);
  }
  std::FILE* F;
};
} // namespace

bool EncodePng(const TImage& image, std::string& bytes)
{
  bytes.clear();
  if (image.RGB.size() != std::size_t(image.Width) * image.Height * 3) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(
      png, &bytes,
      [](png_structp p, png_bytep data, png_size_t n) {
        static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), n);
      },
      nullptr);
  png_set_IHDR(png, info, image.Width, image.Height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.Height; ++y)
    png_write_row(png, image.At(0, y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool WritePng(const std::string& path, const TImage& image)
{
  std::string bytes;
  if (!EncodePng(image, bytes)) return false;
  TFile f(std::fopen(path.c_str(), "wb"));
  return f.F && std::fwrite(bytes.data(), 1, bytes.size(), f.F) == bytes.size() && std::fflush(f.F) == 0;
}

bool ReadPng(const std::string& path, TImage& image)
{
  png_image pi{};
  pi.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&pi, path.c_str())) return false;
  pi.format = PNG_FORMAT_RGB;
  image.Width = int(pi.width);
  image.Height = int(pi.height);
  image.RGB.assign(PNG_IMAGE_SIZE(pi), 0);
  const bool ok = png_image_finish_read(&pi, nullptr, image.RGB.data(), 0, nullptr);
  png_image_free(&pi);
  return ok;
}

TImageDiff Compare(const TImage& a, const TImage& b, int tolerance)
{
  TImageDiff d;
  if (a.Width != b.Width || a.Height != b.Height || a.RGB.size() != b.RGB.size()) {
    d.SameSize = false;
    return d;
  }
  for (std::size_t i = 0; i < a.RGB.size(); i += 3) {
    int worst = 0;
    for (int c = 0; c < 3; ++c)
      worst = std::max(worst, std::abs(int(a.RGB[i + c]) - int(b.RGB[i + c])));
    d.Worst = std::max(d.Worst, worst);
    if (worst > tolerance) ++d.Over;
  }
  return d;
}

} // namespace hxgl

// Mesa's driver keeps a few allocations for the life of the process, and so do the solid modeller's
// translators (the host's solid evaluator links this context); they are not ours.
extern "C" const char* __lsan_default_suppressions()
{
  return "leak:swrast_dri.so\nleak:libEGL_mesa.so\nleak:libGLX_mesa.so\nleak:libglapi.so\nleak:libLLVM\n"
         "leak:libTKernel.so\nleak:libTKXSBase.so\nleak:libTKSTEP.so\n";
}

extern "C" const char* __lsan_default_options()
{
  return "print_suppressions=0";
}
