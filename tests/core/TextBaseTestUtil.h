#pragma once
// Helpers of the text-file, text-base and dictionary tests: UTF-8 decoding, UTF-16 files in a
// scratch directory and a host message box that records what the message channel shows.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Messager.h"

namespace tbtest {

// UTF-8 to code points (the sources and fixtures hold UTF-8 literals).
inline std::u32string Utf32(const std::string& s)
{
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
    char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k < n && i + k < s.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out += cp;
    i += std::size_t(n);
  }
  return out;
}

// UTF-8 to UTF-16 code units.
inline std::u16string Utf16(const std::string& s)
{
  std::u16string out;
  for (char32_t cp : Utf32(s)) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += char16_t(0xD800 + (cp >> 10));
      out += char16_t(0xDC00 + (cp & 0x3FF));
    } else {
      out += char16_t(cp);
    }
  }
  return out;
}

inline std::string Utf16Bytes(const std::u16string& units, bool bom = true)
{
  std::string b;
  if (bom) b += "\xFF\xFE";
  for (char16_t u : units) {
    b += char(u & 0xFF);
    b += char(u >> 8);
  }
  return b;
}

// A scratch directory, removed with its files at the end of the test.
class TScratchDir
{
public:
  TScratchDir()
  {
    std::string t = (std::filesystem::temp_directory_path() / "hxcad_tb_XXXXXX").string();
    std::vector<char> buf(t.begin(), t.end());
    buf.push_back(0);
    if (!mkdtemp(buf.data())) std::abort();
    Dir = buf.data();
  }
  ~TScratchDir()
  {
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
  }
  // The directory with its trailing separator, as the readers take it.
  TString Path() const { return TString((Dir + "/").c_str()); }
  std::string File(const std::string& name) const { return Dir + "/" + name; }
  std::filesystem::path operator/(const std::string& name) const { return File(name); }
  void Write(const std::string& name, const std::string& bytes) const
  {
    std::ofstream f(File(name), std::ios::binary);
    f.write(bytes.data(), std::streamsize(bytes.size()));
  }
  // UTF-8 text stored as UTF-16LE, with the byte-order mark unless told otherwise.
  void WriteText(const std::string& name, const std::string& utf8, bool bom = true) const
  {
    Write(name, Utf16Bytes(Utf16(utf8), bom));
  }

  std::string Dir;
};

// Records the texts the channel hands to the host's message box while it is installed.
class TMessageLog : public TModelerLink
{
public:
  TMessageLog() { Old = TMessager::SetModelerLink(this); }
  ~TMessageLog() override { TMessager::SetModelerLink(Old); }
  bool Exists() const override { return true; }
  void LiftBox(const TString& text) override { Texts.push_back(text); }
  int QuestionBox(const TString&, const TString&) override { return 0; }

  // How many recorded texts start with the UTF-8 text prefix.
  int Count(const char* prefix) const
  {
    TString p(prefix);
    int n = 0;
    for (const TString& t : Texts)
      if (t.Length() >= p.Length() && t.SubStr(0, p.Length()) == p) ++n;
    return n;
  }

  std::vector<TString> Texts;

private:
  TModelerLink* Old;
};

inline std::string DataPath(const char* name)
{
  return std::string(HXCAD_TEST_DATA) + "/textbase/" + name;
}

} // namespace tbtest
