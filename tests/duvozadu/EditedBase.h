#pragma once
// The text base as a user edits it: a copy of the shipped file with values of one table changed, read by
// the process's text base in place of the shipped one.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <utility>

#include "../txhost/TestSupport.h"
#include "hxcadkit/core/TextBase.h"

namespace editedbase {

// A table's name as the base spells it (the names are all in the basic plane).
inline std::u16string Utf16(const std::string& text)
{
  const TString t(text.c_str());
  std::u16string out;
  for (const wchar_t* c = t.toWideChar(); *c; ++c)
    out.push_back(char16_t(*c));
  return out;
}

// A value as the base holds it: a plain number with a decimal comma.
inline std::u16string Written(double v)
{
  char out[400];
  std::snprintf(out, sizeof out, "%.4f", v);
  std::u16string text(out, out + std::char_traits<char>::length(out));
  std::replace(text.begin(), text.end(), u'.', u',');
  return text;
}

// The base with column col of the table's rows (every row, or row alone when row >= 0) set to the text
// what makes of the value there (any text, a number or not); empty when the base has no such table.
template <class F>
std::u16string EditedText(std::u16string base, const std::string& table, int col, int row, F&& what)
{
  std::size_t at = base.find(u"# \"" + Utf16(table) + u"\"");
  if (at == std::u16string::npos) return {};
  at = base.find(u'{', at);
  int r = 0;
  // The table's end moves as values of other lengths are written.
  for (std::size_t line = base.find(u'\n', at) + 1; line < base.find(u'}', at);
       line = base.find(u'\n', line) + 1, ++r) {
    if (row >= 0 && r != row) continue;
    std::size_t from = line;
    for (int c = 0; c <= col; ++c)
      from = base.find(u'\t', from) + 1;
    const std::size_t to = base.find_first_of(u"\t\r\n", from);
    std::string old(base.begin() + std::ptrdiff_t(from), base.begin() + std::ptrdiff_t(to));
    std::replace(old.begin(), old.end(), ',', '.');
    base.replace(from, to - from, what(std::stod(old)));
  }
  return base;
}

// The same with a number written as the base holds it.
template <class F>
std::u16string Edited(std::u16string base, const std::string& table, int col, int row, F&& value)
{
  return EditedText(std::move(base), table, col, row, [&](double v) { return Written(value(v)); });
}

inline std::u16string Shipped()
{
  return txhost::test::ReadUtf16(std::filesystem::path(HXCAD_DUVOZADU_DATA) / "VUVudirido.tb");
}

// The process's text base reading another file: it opens its file once, so a fresh one takes its place.
inline bool Rebase(const std::string& dir)
{
  TextBase.~TTextBase();
  new (&TextBase) TTextBase();
  return TextBase.Init(TString(dir.c_str()), TString("VUVudirido.tb"));
}

// The process reading base from dir's copy of it; false when it cannot.
inline bool UseBase(const std::filesystem::path& dir, const std::u16string& base)
{
  if (base.empty()) return false;
  txhost::test::WriteUtf16(dir / "VUVudirido.tb", base);
  return Rebase(dir.string() + "/");
}

} // namespace editedbase
