// Writes what the couplings draw, call by call, over a large set of builds: every coupling of the catalogue
// on every row of its main table, with every pair of bore types, one shaft and two, section and view, and the
// tables of the couplings with fasteners with the fasteners' circle scaled in towards the axis. Each build
// gives one line: its key, the number of calls and a hash of every call with its arguments written exactly
// (doubles in hexadecimal), so that two dumps compare bit for bit. With a third argument the builds whose key
// holds it are written out whole too, call by call.
//
//   drawdump DATA_DIR OUT_FILE [KEY_PART]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <unistd.h>

#include "../CouplingCatalogue.h"
#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "RecordingModeler.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TTable.h"
#include "hxcadkit/core/TextBase.h"

namespace {
namespace fs = std::filesystem;

class TQuiet : public TModelerLink
{
public:
  bool Exists() const override { return true; }
  void LiftBox(const TString&) override { ++Messages; }
  int QuestionBox(const TString&, const TString&) override { return 1; }
  long Messages = 0;
};

std::u16string ReadUtf16(const fs::path& file)
{
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = char16_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8);
  return text;
}

void WriteUtf16(const fs::path& file, const std::u16string& text)
{
  std::string bytes;
  for (const char16_t c : text)
    bytes += char(c & 0xFF), bytes += char(c >> 8);
  std::ofstream(file, std::ios::binary) << bytes;
}

// The base with column col of every row of the table scaled by k, written as the base writes numbers.
std::u16string Scaled(std::u16string base, const std::u16string& table, int col, double k)
{
  std::size_t at = base.find(u"# \"" + table + u"\"");
  if (at == std::u16string::npos) return {};
  at = base.find(u'{', at);
  const std::size_t end = base.find(u'}', at);
  for (std::size_t line = base.find(u'\n', at) + 1; line < end; line = base.find(u'\n', line) + 1) {
    std::size_t from = line;
    for (int c = 0; c <= col; ++c)
      from = base.find(u'\t', from) + 1;
    const std::size_t to = base.find_first_of(u"\t\r\n", from);
    std::string value(base.begin() + std::ptrdiff_t(from), base.begin() + std::ptrdiff_t(to));
    std::replace(value.begin(), value.end(), ',', '.');
    char out[32];
    std::snprintf(out, sizeof out, "%.4f", std::stod(value) * k);
    std::u16string text(out, out + std::char_traits<char>::length(out));
    std::replace(text.begin(), text.end(), u'.', u',');
    base.replace(from, to - from, text);
  }
  return base;
}

bool Rebase(const std::string& dir)
{
  TextBase.~TTextBase();
  new (&TextBase) TTextBase();
  return TextBase.Init(TString(dir.c_str()), TString("VUVudirido.tb"));
}

// Two 64-bit hashes of the text, run side by side.
struct THash
{
  std::uint64_t A = 1469598103934665603ull, B = 0x9e3779b97f4a7c15ull;
  void Add(const std::string& s)
  {
    for (const unsigned char c : s) {
      A = (A ^ c) * 1099511628211ull;
      B = (B + c + 1) * 0xff51afd7ed558ccdull;
      B ^= B >> 29;
    }
  }
};

std::string Text(const TRecordingModeler::TCall& c)
{
  std::string line = c.Op;
  char value[40];
  for (const double a : c.A) {
    std::snprintf(value, sizeof value, " %a", a);
    line += value;
  }
  for (const TString& s : c.S)
    line += " \"" + s.Utf8Text() + "\"";
  line += '\n';
  return line;
}
} // namespace

int main(int argc, char** argv)
{
  if (argc < 3) {
    std::fprintf(stderr, "usage: drawdump DATA_DIR OUT_FILE [KEY_PART]\n");
    return 2;
  }
  const std::string data = std::string(argv[1]) + "/";
  const std::string part = argc > 3 ? argv[3] : "";
  std::FILE* out = std::fopen(argv[2], "w");
  if (!out) return 2;
  const fs::path scratch = fs::temp_directory_path() / ("drawdump-" + std::to_string(::getpid()));
  fs::create_directories(scratch);
  const std::u16string shipped = ReadUtf16(fs::path(data) / "VUVudirido.tb");
  TRecordingModeler M;
  TQuiet quiet;
  SetCouplingModeler(&M);
  TMessager::SetModelerLink(&quiet);
  long builds = 0, calls = 0;
  for (const double k : {1.0, 0.85, 0.7})
    for (const TCatalogueRow& c : Catalogue) {
      if (k != 1.0 && c.Column < 0) continue;
      if (k == 1.0) {
        if (!Rebase(data)) return 3;
      } else {
        WriteUtf16(scratch / "VUVudirido.tb", Scaled(shipped, c.Table16, c.Column, k));
        if (!Rebase(scratch.string() + "/")) return 3;
      }
      std::unique_ptr<TTable> main(TextBase.GetTable(TString(c.Table)));
      if (!main) return 4;
      const TTable& t = *main;
      for (int i = 0; i < t.CountRow; ++i) {
        const double* A1 = t.Row(i);
        const bool next = i + 1 < t.CountRow && t.Row(i + 1)[0] == A1[0],
                   before = i > 0 && t.Row(i - 1)[0] == A1[0];
        const double* other = t.Row(next ? i + 1 : before ? i - 1 : i);
        for (int shafts = 1; shafts <= 2; ++shafts)
          for (int tt = 0; tt < 16; ++tt)
            for (int mode = 1; mode <= 2; ++mode) {
              const double* A2 = shafts == 1 ? A1 : other;
              ControlModel.M = A1[0];
              ControlModel.P1d = A1[t.Control];
              ControlModel.P2d = A2[t.Control];
              ControlModel.T1 = tt % 4;
              ControlModel.T2 = tt / 4;
              M.Reset();
              const bool ok = Couplings.drCoupling(TString(c.Name), mode);
              char key[128];
              std::snprintf(key, sizeof key, "%s x%.2f r%d t%d,%d s%d m%d", c.Key, k, i, tt % 4, tt / 4,
                            shafts, mode);
              THash h;
              const bool full = !part.empty() && std::string(key).find(part) != std::string::npos;
              for (const TRecordingModeler::TCall& call : M.Calls) {
                const std::string line = Text(call);
                h.Add(line);
                if (full) std::fputs(line.c_str(), out);
              }
              std::fprintf(out, "%s %d %zu %016llx%016llx\n", key, int(ok), M.Calls.size(),
                           (unsigned long long)h.A, (unsigned long long)h.B);
              ++builds;
              calls += long(M.Calls.size());
            }
      }
    }
  std::fprintf(out, "builds %ld calls %ld messages %ld\n", builds, calls, quiet.Messages);
  std::fclose(out);
  SetCouplingModeler(nullptr);
  TMessager::SetModelerLink(nullptr);
  Rebase(data);
  fs::remove_all(scratch);
  std::printf("builds %ld calls %ld\n", builds, calls);
  return 0;
}
