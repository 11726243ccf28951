#include "hxcadkit/core/Dictionary.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "hxcadkit/core/KmfData.h"

TDictionary Dictionary;

static_assert(sizeof(wchar_t) == 4, "dictionary files hold 4-byte characters");

namespace {

const char* const DefaultName = "ZEdozod.dic";
const char* const NewName = "ZEdozodNew.dic"; // what Save writes
constexpr wchar_t Quote = L'"';

bool EndsWithDic(const TString& name)
{
  const int n = name.Length();
  return n > 4 && name.SubStr(n - 4, 4) == TString(".dic");
}

// A file name Init may read: a ".dic" file other than the one Save writes.
bool Candidate(const TString& name)
{
  return EndsWithDic(name) && name != TString(NewName);
}

// A regular file we may open. Checked before opening, because a failed open is reported to
// the user, and a dictionary that is missing or unreadable is no error.
bool Readable(const TString& path)
{
  return FileExists(path) == 1 && ::access(path.Utf8Text().c_str(), R_OK) == 0;
}

void AppendUnits(std::vector<wchar_t>& out, const TString& s)
{
  const std::size_t at = out.size();
  out.resize(at + std::size_t(s.Length()) + 1);
  s.toWideChar(out.data() + at);
  out.pop_back(); // the terminator
}

} // namespace

TDictionary::TDictionary() : NameDictionary(DefaultName) {}

TString TDictionary::PathOf(const TString& name) const
{
  if (ExecutePath.Empty() || ExecutePath[ExecutePath.Length() - 1] == '/') return ExecutePath + name;
  return ExecutePath + TString("/") + name;
}

// ---------------------------------------------------------------------------------------------
// Loading

bool TDictionary::Init(const TString& name, const TString& executePath, const TString& statePath)
{
  NameDictionary = name;
  ExecutePath = executePath;
  StatePath = statePath;
  if (Activate) return Active;
  Activate = true;

  // The host hands us the library's own file name; a dictionary named explicitly wins, then
  // the default name, then whatever dictionary the directory holds.
  if (Candidate(name) && Readable(PathOf(name))) {
    // NameDictionary already names it.
  } else if (Readable(PathOf(TString(DefaultName)))) {
    NameDictionary = TString(DefaultName);
  } else if (!Find(ExecutePath)) {
    return Active;
  }

  Load(PathOf(NameDictionary));
  Active = CountWords > 0;
  if (Active) {
    AllWords = CountWords;
    Sorting();
  }
  return Active;
}

bool TDictionary::Find(const TString& dir)
{
  namespace fs = std::filesystem;
  if (dir.Empty()) return false;
  std::error_code ec;
  const fs::directory_iterator end;
  for (fs::directory_iterator it(fs::path(dir.Utf8Text()), ec); !ec && it != end; it.increment(ec)) {
    std::error_code fec;
    if (!it->is_regular_file(fec) || it->path().extension() != ".dic") continue;
    const std::string file = it->path().filename().string();
    TString name(file.c_str());
    // A name the code page cannot spell could not be opened again through the text.
    if (name.Utf8Text() != file || !Candidate(name)) continue;
    NameDictionary = name;
    return true;
  }
  return false;
}

void TDictionary::Load(const TString& path)
{
  if (!Readable(path)) return;
  TKmfData S;
  if (!S.MakeForRead(path, true)) return;
  // A pair counts only with all four of its quotes: text cut short by the end of the file is
  // no phrase.
  if (S.SkipTo(Quote)) {
    while (CountWords < MaxCountWords) {
      TString& source = Words[CountWords][0];
      TString& translation = Words[CountWords][1];
      if (!S.StrTo(Quote, source) || !S.SkipTo(Quote) || !S.StrTo(Quote, translation)) {
        source.Clear();
        translation.Clear();
        break;
      }
      ++CountWords;
      if (!S.SkipTo(Quote)) break;
    }
  }
  S.Close();
}

// ---------------------------------------------------------------------------------------------
// Sorting and lookup

bool TDictionary::Sorting()
{
  // The order is that of a selection sort (for each place, the first of the smallest remaining
  // sources is swapped in), which decides where equal sources end up; a tournament tree finds
  // each minimum in O(log n) instead of a scan.
  const Integer n = std::clamp<Integer>(CountWords, 0, MaxCountWords);
  if (n < 2) return false;
  int size = 1;
  while (size < n)
    size <<= 1;
  std::vector<Integer> tree(std::size_t(2 * size), -1); // place of the least source below, -1 none
  // a is always left of b, so ties go to the earlier place.
  auto least = [this](Integer a, Integer b) {
    if (a < 0) return b;
    if (b < 0) return a;
    return Words[b][0] < Words[a][0] ? b : a;
  };
  auto put = [&](Integer place, Integer value) {
    int k = size + place;
    tree[std::size_t(k)] = value;
    for (k >>= 1; k >= 1; k >>= 1)
      tree[std::size_t(k)] = least(tree[std::size_t(2 * k)], tree[std::size_t(2 * k + 1)]);
  };
  for (Integer p = 0; p < n; ++p)
    tree[std::size_t(size + p)] = p;
  for (int k = size - 1; k >= 1; --k)
    tree[std::size_t(k)] = least(tree[std::size_t(2 * k)], tree[std::size_t(2 * k + 1)]);

  bool moved = false;
  for (Integer i = 0; i < n; ++i) {
    const Integer j = tree[1];
    if (j != i) {
      Words[i][0].Swap(Words[j][0]);
      Words[i][1].Swap(Words[j][1]);
      moved = true;
      put(j, j);
    }
    put(i, -1);
  }
  return moved;
}

Integer TDictionary::Search(const TString& text) const
{
  Integer lo = 0;
  Integer hi = std::min<Integer>(CountWords, MaxCountWords) - 1;
  while (lo <= hi) {
    const Integer mid = lo + (hi - lo) / 2;
    const TString& source = Words[mid][0];
    if (source == text) return mid;
    if (text < source)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  return -1;
}

bool TDictionary::Known(const TString& text) const
{
  if (Search(text) >= 0) return true;
  const Integer all = std::min<Integer>(AllWords, MaxCountWords);
  for (Integer i = std::max<Integer>(CountWords, 0); i < all; ++i)
    if (Words[i][0] == text) return true;
  return false;
}

const TString& TDictionary::DC(const TString& text)
{
  if (!Active || text.Empty()) return text;
  const Integer i = Search(text);
  if (i >= 0) {
    // A pair nobody has translated yet must not blank the phrase.
    return Words[i][1].Empty() ? Words[i][0] : Words[i][1];
  }
  Add(text);
  return text;
}

void TDictionary::Add(const TString& text)
{
  if (text.Empty() || text.Find('"') != 0) return;
  if (AllWords < 0 || AllWords >= MaxCountWords) return;
  if (Known(text)) return;
  Words[AllWords][0] = text;
  Words[AllWords][1].Clear();
  ++AllWords;
}

// ---------------------------------------------------------------------------------------------
// Collecting and saving

void TDictionary::Update(const TString& sourceFile)
{
  if (!Activate) return;
  TKmfData S;
  if (Readable(sourceFile) && S.MakeForRead(sourceFile, true)) {
    const TString call("DC(\"");
    TString phrase;
    while (AllWords < MaxCountWords && S.FindStr(call)) {
      if (!S.StrTo(Quote, phrase)) break; // a literal cut short by the end of the file
      Add(phrase);
    }
    S.Close();
  }
  Save();
}

void TDictionary::Save()
{
  if (!Activate) return;
  const bool moved = Sorting();
  if (!moved && CountWords == AllWords) return;
  // The collected phrases join the sorted part, so that lookups keep finding every pair.
  CountWords = AllWords;
  Sorting();

  const TString path = PathOf(TString(NewName));
  TKmfData S;
  if (!S.MakeForWrite(path, true)) return;
  std::vector<wchar_t> line;
  line.push_back(wchar_t(0xFEFF));
  for (Integer i = 0; i < AllWords; ++i) {
    line.push_back(Quote);
    AppendUnits(line, Words[i][0]);
    line.insert(line.end(), {Quote, L'=', Quote});
    AppendUnits(line, Words[i][1]);
    line.insert(line.end(), {Quote, wchar_t(13), wchar_t(10)});
    S.BlockWrite(line.data(), unsigned(line.size() * sizeof(wchar_t)));
    line.clear();
  }
  // A file cut short would pass for a smaller dictionary.
  if (!S.Close()) DeleteFile(path);
}
