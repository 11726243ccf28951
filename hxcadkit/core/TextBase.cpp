#include "hxcadkit/core/TextBase.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <map>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "hxcadkit/core/Messager.h"

// Built in this order when the library loads, destroyed in reverse at unload.
TTextBase TextBase;
TADTable ABaseDetail;

namespace {
// Values of a table or block, up to its closing '}' (left pending). False when the data end,
// the next table begins ('#') or the values outnumber the limit before a '}' turns up. starts is
// called as each value begins.
template <class TReader, class Starts = TNoLineEnds>
bool ReadValues(TReader& b, std::vector<double>& values, Starts&& starts = Starts())
{
  values.clear();
  b.Skip(L' ');
  for (;;) {
    wchar_t c = b.NextWChar();
    if (c == L'}') return true;
    if (b.EmptyBufer() || c == L'#') return false;
    if (Integer(values.size()) >= MaxTextBaseValues) return false;
    starts();
    values.push_back(b.GetReal());
    b.Skip(L' ');
  }
}

// Takes the next non-blank character; true when it is c.
bool Take(TTextBase& b, wchar_t c)
{
  b.Skip(L' ');
  return b.GetWChar() == c;
}

// The base's reader for whole scans: the same characters, tokens and numbers as the operations
// of TWideTextFile, with the same filter ("//" comments and runs of control characters become
// one blank, a 0 unit a blank and a 0), but taking the units straight from the stream's window
// and without the ring, so that a scan of the whole base costs about as much as reading it.
// Characters pending in the ring are taken over first; those filtered and not handed out go
// back into it at the end, so the reader goes on exactly where this one stopped.
class TFastReader
{
public:
  explicit TFastReader(TTextBase& b) : B(b), F(b.FB)
  {
    while (!B.EmptyBufer() && Count < MaxPending)
      Push(B.GetWChar());
  }
  ~TFastReader()
  {
    for (; Count > 0; --Count, Head = (Head + 1) & (MaxPending - 1))
      B.PutWCharInBufer(Pending[Head]);
  }
  TFastReader(const TFastReader&) = delete;
  TFastReader& operator=(const TFastReader&) = delete;

  bool EmptyBufer() const { return Count == 0; }
  wchar_t NextWChar()
  {
    if (Count == 0) Filter();
    return Count == 0 ? wchar_t(0) : Pending[Head];
  }
  wchar_t GetWChar()
  {
    if (Count == 0) {
      // A unit that the filter hands on as it is goes straight from the window.
      if (F.CurrentPos + 1 < F.CountDataBufer) {
        const unsigned char* p = F.BuferDataFile + F.CurrentPos;
        const wchar_t u = wchar_t(p[0] | (p[1] << 8));
        if (u > 26 && u != L'/') {
          F.CurrentPos += 2;
          return u;
        }
      }
      Filter();
      if (Count == 0) return 0;
    }
    const wchar_t c = Pending[Head];
    Head = (Head + 1) & (MaxPending - 1);
    --Count;
    return c;
  }
  void Skip(wchar_t c)
  {
    while (NextWChar() == c && !EmptyBufer())
      GetWChar();
  }
  void SkipTo(wchar_t c)
  {
    // Units that cannot end the search are passed over in the window itself: those the filter
    // hands on as they are, and, when the search is not for a blank, the control characters
    // that it turns into blanks. A '/' may open a comment and a 0 ends every search, so the
    // filter takes those.
    const bool overControls = c > 26 && c != L' ' && c != L'/';
    for (;;) {
      if (Count == 0) {
        const unsigned char* p = F.BuferDataFile;
        UInteger at = F.CurrentPos;
        const UInteger end = F.CountDataBufer;
#if defined(__SSE2__)
        // Eight units at a time up to the first that may end the search.
        const __m128i sought = _mm_set1_epi16(short(c)), slash = _mm_set1_epi16(short(L'/'));
        const __m128i zero = _mm_setzero_si128(), controls = _mm_set1_epi16(26);
        while (std::uint64_t(at) + 16 <= end) {
          const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
          __m128i stop = _mm_or_si128(_mm_cmpeq_epi16(v, sought), _mm_cmpeq_epi16(v, slash));
          stop = _mm_or_si128(stop, _mm_cmpeq_epi16(v, zero));
          if (!overControls) stop = _mm_or_si128(stop, _mm_cmpeq_epi16(_mm_subs_epu16(v, controls), zero));
          if (const int mask = _mm_movemask_epi8(stop)) {
            at += UInteger(__builtin_ctz(unsigned(mask))) & ~1u;
            break;
          }
          at += 16;
        }
#endif
        while (at + 1 < end) {
          const wchar_t u = wchar_t(p[at] | (p[at + 1] << 8));
          if (u == c || u == 0 || u == L'/' || (u <= 26 && !overControls)) break;
          at += 2;
        }
        F.CurrentPos = at;
      }
      const wchar_t n = GetWChar();
      if (n == c || n == 0) return;
    }
  }
  TString GetStr()
  {
    while (TWideTextFile::IsDelimiter(NextWChar()))
      GetWChar();
    GetWChar(); // the opening quotation mark, taken unseen
    return Text(StrTo(L'"'));
  }
  int GetInt()
  {
    Skip(L' ');
    return Text(StrTo(L' ')).toInteger();
  }
  double GetReal()
  {
    const Integer index = Reals++;
    Skip(L' ');
    // The word is taken as StrTo(' ') takes it; plain decimals ("-12,5") are converted here,
    // correctly rounded as the string's own conversion does, anything else goes to it.
    std::size_t n = 0, digits = 0, points = 0;
    bool plain = true;
    for (;;) {
      const wchar_t u = GetWChar();
      if (u == L' ' || u == 0) break;
      char ch = Char(u);
      if (ch >= '0' && ch <= '9')
        ++digits;
      else if ((ch == ',' || ch == '.') && points == 0)
        ch = '.', ++points;
      else if (!(ch == '-' && n == 0))
        plain = false;
      if (n < sizeof(Number)) {
        Number[n] = ch;
      } else {
        if (n == sizeof(Number)) Word.assign(Number, n);
        Word += ch;
      }
      ++n;
    }
    if (n <= sizeof(Number)) {
      if (plain && digits > 0) {
        double v = 0;
        const auto r = std::from_chars(Number, Number + n, v);
        if (r.ec == std::errc() && r.ptr == Number + n) return v;
      }
      Word.assign(Number, n);
    }
    if (Irregular < 0) Irregular = index;
    return Text(Word).toReal();
  }

  // The first value word read that is not a plain decimal number ("1e308" reads as 1, "12a" as
  // 12), counted from 0 over the values read; -1 while there is none.
  Integer Irregular = -1;
  // The line ends the filter has passed over (those a search skips in the window are not seen).
  Integer Lines = 0;

private:
  static constexpr int MaxPending = 4; // a power of two; the filter leaves at most two

  TTextBase& B;
  TKmfData& F;
  wchar_t Pending[MaxPending];
  int Head = 0, Count = 0;
  std::string Word;
  char Number[64];
  Integer Reals = 0; // value words read

  void Push(wchar_t c)
  {
    Pending[(Head + Count) & (MaxPending - 1)] = c;
    ++Count;
  }
  void Filter()
  {
    FilterWideText(
        F, [this](wchar_t c) { Push(c); }, [this] { ++Lines; });
  }
  // The characters up to c or a 0, as code-page bytes ('?' for those the code page lacks).
  const std::string& StrTo(wchar_t c)
  {
    Word.clear();
    for (;;) {
      const wchar_t n = GetWChar();
      if (n == c || n == 0) break;
      Word += Char(n);
    }
    return Word;
  }
  // A unit as a code-page byte, '?' for a character the code page lacks.
  static char Char(wchar_t u)
  {
    if (u < 0x80) return char(u);
    const char b = TString::UniCodeToChar(u);
    return b ? b : '?';
  }
  static TString Text(const std::string& s)
  {
    TString t;
    if (!s.empty()) t.Set(reinterpret_cast<const unsigned char*>(s.data()), unsigned(s.size()));
    return t;
  }
};

// Back to the start of the base. When the stream's window is known to hold the whole unchanged
// file from its first byte, the scan starts over in it instead of reading the file again.
void Rewind(TTextBase& base, bool fromWindow)
{
  if (fromWindow)
    base.FB.CurrentPos = 0;
  else
    base.FB.Seek(0);
  base.SetEmptyBufer();
}

// Whether the stream's window holds the file of that size from its first byte.
bool WholeFileInWindow(const TKmfData& f, std::int64_t size)
{
  return f.GetPos() == f.CurrentPos && std::int64_t(f.CountDataBufer) == size;
}

// What a scan of the base for one table name found.
struct TFoundTable
{
  bool Found = false;
  bool Bad = false;       // the table breaks the format: reported on every request
  Integer Irregular = -1; // the first value not written as a plain decimal number, -1: none
  TTextBase::TOddRow Odd;
  TString GOST;
  int Columns = 0, Key = 0;
  std::vector<double> Values;
};

// Scans the base from its start for the first table of that name and reads it. With lines, also the line
// each value starts on.
TFoundTable Scan(TTextBase& base, const TString& name, bool fromWindow, std::vector<Integer>* lines = nullptr)
{
  TFoundTable r;
  Rewind(base, fromWindow);
  TFastReader b(base);
  for (;;) {
    b.SkipTo(L'#');
    b.GetWChar();
    if (base.FB.EndOfFile()) return r;
    if (b.GetStr() == name) break;
    if (base.FB.EndOfFile()) return r;
  }
  r.Found = true;
  r.GOST = b.GetStr();
  b.GetStr(); // the category
  r.Columns = b.GetInt();
  r.Key = b.GetInt();
  b.SkipTo(L'{');
  bool good = r.Columns >= 1 && r.Columns <= MaxTextBaseValues && r.Key >= 0 && r.Key < r.Columns;
  if (!good || !ReadValues(b, r.Values, [&] {
        if (lines) lines->push_back(b.Lines);
      })) {
    r.Found = false;
    r.Bad = true;
    r.Values.clear();
  }
  r.Irregular = b.Irregular;
  return r;
}

// The values of a table that do not fill its last row were written a value too many or too few in some row.
// The blanks the reader sees do not tell where one line ends, so only then is the table read once more with
// its lines counted: the row is the first line holding values that holds another number of them.
void FindOddRow(TTextBase& base, const TString& name, bool fromWindow, TFoundTable& found)
{
  if (!found.Found || found.Values.size() % std::size_t(found.Columns) == 0) return;
  std::vector<Integer> lines;
  const TFoundTable again = Scan(base, name, fromWindow, &lines);
  // The file may have changed between the readings: then no row is named.
  if (!again.Found || again.Values.size() != found.Values.size() || lines.size() != found.Values.size())
    return;
  Integer row = 0;
  for (std::size_t i = 0; i < lines.size(); ++row) {
    std::size_t end = i;
    while (end < lines.size() && lines[end] == lines[i])
      ++end;
    if (Integer(end - i) != found.Columns) {
      found.Odd.Row = row;
      found.Odd.Values = Integer(end - i);
      return;
    }
    i = end;
  }
}
} // namespace

// ---------------------------------------------------------------------------------------------
// TTextBase

// What one request for a table found, kept per name while the file is unchanged. Every
// coupling rebuild asks for its tables again (on each cursor move of a placement), and a
// scan of the whole base each time costs far more than a copy.
struct TTextBase::TCache
{
  using TKey = TFileKey;
  using TEntry = TFoundTable;
  static constexpr std::size_t MaxEntries = 1024;

  TKey Key;
  std::map<std::string, TEntry> Tables;
  // The stream's window holds the whole file as Key describes it.
  bool Window = false;

  static bool KeyOf(std::FILE* f, TKey& key)
  {
    struct stat st;
    if (!f || fstat(fileno(f), &st) != 0) return false;
    key.Dev = std::uint64_t(st.st_dev);
    key.Ino = std::uint64_t(st.st_ino);
    key.Size = std::int64_t(st.st_size);
    key.MTime = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    key.CTime = std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return true;
  }
  // Notes whether the window holds the whole file described by key, after a read from its start.
  void NoteWindow(const TKmfData& f, const TKey& key)
  {
    if (!(Key == key)) {
      Tables.clear();
      Key = key;
    }
    Window = WholeFileInWindow(f, key.Size);
  }
  bool WindowHolds(const TKmfData& f, const TKey& key) const
  {
    return Window && Key == key && WholeFileInWindow(f, key.Size);
  }
};

bool TTextBase::Init(const TString& path, const TString& name)
{
  NameTextBase = name;
  ExecutePath = path;
  if (Activate) return Active;
  Activate = true;
  if (FB.MakeForRead(ExecutePath + NameTextBase, true)) {
    char16_t bom = 0;
    FB.Read(bom);
    Active = bom == 0xFEFF;
    TCache::TKey key;
    if (Active && TCache::KeyOf(FB.DataFile, key)) {
      if (!Cache) Cache = std::make_unique<TCache>();
      Cache->NoteWindow(FB, key);
    }
    if (!Active) {
      // A file that is not a text base is not kept open for the life of the object.
      FB.Close();
      ReportBadFile();
    }
  }
  return Active;
}

void TTextBase::ReportBadFile() const
{
  Messager->LiftBox(DC(TString("Плохой файл параметров")) + TString(" ") + ExecutePath + NameTextBase,
                    TMessager::toAlways);
}

namespace {
std::uint64_t TextBases = 0;
}

TTextBase::TTextBase() : Serial(++TextBases) {}
TTextBase::~TTextBase() = default;

bool TTextBase::KeyNow(TFileKey& key)
{
  if (Together > 0 && HeldKnown) {
    key = Held;
    return HeldKeyed;
  }
  const bool keyed = TCache::KeyOf(FB.DataFile, key);
  if (Together > 0) Held = key, HeldKeyed = keyed, HeldKnown = true;
  return keyed;
}

TTextBase::TState TTextBase::State()
{
  TState s;
  s.Base = Serial;
  s.Known = Active && KeyNow(s.File);
  return s;
}

TTable* TTextBase::GetTable(const TString& name, bool* plain, Integer* irregular, TOddRow* odd)
{
  if (plain) *plain = true;
  if (irregular) *irregular = -1;
  if (odd) *odd = TOddRow();
  if (!Active) return nullptr;
  TCache::TKey key;
  const bool keyed = KeyNow(key);
  const std::string cacheName(name.PChar(), std::size_t(name.Length()));

  const TCache::TEntry* entry = nullptr;
  if (keyed && Cache && Cache->Key == key) {
    auto it = Cache->Tables.find(cacheName);
    if (it != Cache->Tables.end()) entry = &it->second;
  }
  TCache::TEntry scanned;
  if (!entry) {
    const bool fromWindow = keyed && Cache && Cache->WindowHolds(FB, key);
    scanned = Scan(*this, name, fromWindow);
    FindOddRow(*this, name, fromWindow, scanned);
    if (keyed) {
      if (!Cache) Cache = std::make_unique<TCache>();
      if (Cache->Tables.size() >= TCache::MaxEntries) Cache->Tables.clear();
      Cache->NoteWindow(FB, key);
      entry = &(Cache->Tables[cacheName] = std::move(scanned));
    } else {
      entry = &scanned;
    }
  }

  if (entry->Bad) ReportBadFile();
  if (!entry->Found) return nullptr;
  if (plain) *plain = entry->Irregular < 0;
  if (irregular) *irregular = entry->Irregular;
  if (odd) *odd = entry->Odd;
  auto* t = new TTable(int(entry->Values.size()), entry->Columns, entry->Key, entry->Values.data());
  t->Name = name;
  t->GOST = entry->GOST;
  return t;
}

void TTextBase::CouplingLS(TAStr& list)
{
  list.Clear();
  list.ReserveSize(64);
  if (!Active) return;
  TCache::TKey key;
  Rewind(*this, Cache && TCache::KeyOf(FB.DataFile, key) && Cache->WindowHolds(FB, key));
  TFastReader r(*this);
  const TString auxiliary = DC(TString("Вспомогательный"));
  for (;;) {
    r.SkipTo(L'#');
    if (FB.EndOfFile()) return;
    r.GetWChar();
    TString name = r.GetStr();
    r.GetStr(); // the standard
    if (r.GetStr() != auxiliary) {
      ReserveMore(list);
      list.Add(name);
    }
    if (FB.EndOfFile()) return;
  }
}

// ---------------------------------------------------------------------------------------------
// TDTable

TDTable::TDTable(const TString& name, TTextBase& base) : Name(name)
{
  if (!Read(base)) {
    // The entry keeps no values, and its word list is the two empty slots of a row of none.
    Clear();
    NameParam = new char*[2]();
    base.ReportBadFile();
  }
}

TDTable::~TDTable()
{
  Clear();
  delete[] NameParam;
}

void TDTable::Clear()
{
  if (NameParam)
    for (int i = 0; i < 2 * Params + 2; ++i)
      delete[] NameParam[i];
  delete[] NameParam;
  NameParam = nullptr;
  delete[] pBase;
  delete[] pBase2;
  pBase = pBase2 = nullptr;
  Params = Params2 = Count = Count2 = 0;
}

bool TDTable::Read(TTextBase& b)
{
  Manufacturer = b.GetStr();
  Type = b.GetStr();
  ID = b.GetInt();
  makeID = b.GetInt();
  pictureID = b.GetInt();
  int params = b.GetInt();
  int params2 = b.GetInt();
  // A block row longer than a block can be is no row at all.
  if (params < 0 || params > MaxTextBaseValues || params2 < 0 || params2 > MaxTextBaseValues) return false;
  Params = params;
  Params2 = params2;
  const int slots = 2 * Params + 2;
  NameParam = new char*[std::size_t(slots)]();

  if (!Take(b, L'{') || !Take(b, L'{')) return false;
  for (int w = 0;;) {
    b.SkipDelimiter();
    wchar_t c = b.NextWChar();
    if (c == L'}') break;
    if (b.EmptyBufer() || c == L'#') return false;
    TString word = b.GetStr();
    // Words past the slots are read over: the list may not be longer.
    if (w < slots) NameParam[w++] = word.Duplicate();
  }
  b.SkipTo(L'}');

  std::vector<double> values;
  if (Params != 0) {
    if (!Take(b, L'{') || !ReadValues(b, values)) return false;
    b.SkipTo(L'}');
    Count = Integer(values.size()) / Params;
    if (!values.empty()) {
      pBase = new double[values.size()];
      std::copy(values.begin(), values.end(), pBase);
    }
  }
  if (Params2 != 0) {
    if (!Take(b, L'{') || !ReadValues(b, values)) return false;
    b.SkipTo(L'}');
    Count2 = Integer(values.size()) / Params2;
    if (!values.empty()) {
      pBase2 = new double[values.size()];
      std::copy(values.begin(), values.end(), pBase2);
    }
  }
  b.Skip(L' ');
  b.GetWChar(); // the entry's closing brace
  return true;
}

int TDTable::Select(int c1, double x1, int c2, double x2, int c3, double x3) const
{
  if (c1 == 0) return 0;
  const int keys = c2 == 0 ? 1 : 3;
  if (Count < 2 || !pBase || Params < 1) return 0;
  const int cols[3] = {c1, c2, c3};
  const double xs[3] = {x1, x2, x3};
  for (int k = 0; k < keys; ++k) {
    int col = std::abs(cols[k]) - 1;
    // A key that names no column of the row selects nothing.
    if (cols[k] == 0 || col >= Params) return 0;
  }
  auto value = [this](int row, int c) {
    return pBase[std::size_t(row) * Params + std::size_t(std::abs(c) - 1)];
  };

  int k = 0, row = 1, candidate = -1;
  double matched = 0.0; // the value the previous key was matched with
  for (;;) {
    if (row >= Count) return 0;
    if (k > 0 && value(row, cols[k - 1]) != matched) {
      // The rows of the previous key's value are over: the candidate completes this key.
      return candidate >= 0 && k == keys - 1 ? candidate : 0;
    }
    const double v = value(row, cols[k]);
    bool hit = false;
    if (v == xs[k]) {
      hit = true;
    } else if (cols[k] > 0) {
      if (v < xs[k]) {
        if (row == Count - 1) {
          hit = true;
        } else {
          candidate = row++;
          continue;
        }
      } else if (candidate >= 0) {
        row = candidate;
        hit = true;
      } else {
        return 0;
      }
    } else if (v > xs[k]) {
      hit = true;
    } else {
      ++row;
      continue;
    }
    if (hit) {
      matched = value(row, cols[k]);
      candidate = -1;
      if (++k == keys) return row;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// TADTable

TADTable::TADTable() : AllParam("*") {}

struct TADTable::TSearchAid
{
  using TKey = std::tuple<const TDTable*, int, int, int>;
  int LastIndex = -1;
  // The key columns of a table sorted by them, row by row side by side (row 0 too, unused): a search
  // then reads a few cache lines where the whole rows would take many. Empty for a table not sorted.
  std::map<TKey, std::vector<double>> Sorted;
  // The last answers again, without the map: a part class asks one table by the same columns.
  TKey LastKey{nullptr, 0, 0, 0};
  const double* LastSorted = nullptr;
  const TDTable* RanksOf = nullptr;
  bool Ranked[4] = {};
  // What a search by key columns found out about the table before looking at the values, for the same
  // table and columns asked again (a part class asks them for every size): the rest of a search is a few
  // steps, and working this out again each time cost as much as the steps.
  struct TPlan
  {
    int Id = 0;
    int IP[3] = {0, 0, 0};
    const TDTable* T = nullptr; // nullptr: no plan yet
    bool NoneFits = false;      // a key without a column, or with one outside the row
    int Keys = 0;
    int Cols[3] = {}, Signs[3] = {}, Ranks[3] = {};
    const double* Sorted = nullptr;
  } Plan;
};

TADTable::~TADTable()
{
  for (TDTable*& t : Details) {
    delete t;
    t = nullptr;
  }
  Count = 0;
}

namespace {
const char* const PlateNames[24] = {"PK01", "PK02", "PK21", "PK03", "PK04", "PK05", "PK06", "PK07",
                                    "K10",  "K12",  "K15",  "K20",  "K30",  "K40",  "K60",  "K70",
                                    "PD-C", "",     "PS",   "PI-Z", "PX-Z", "D-N",  "TE-S", "TE-I"};

// A whole number of a table, saturated into int.
int Whole(double v)
{
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return int(std::lround(v));
}

TString Word(const TDTable& t, int i)
{
  TString s;
  if (t.NameParam && i >= 0 && i < 2 * t.Params + 2 && t.NameParam[i]) s.Set(t.NameParam[i]);
  return s;
}
} // namespace

TString TADTable::Name(const TBaseDetail& code) const
{
  const TDTable* t = GetTable(code.ID);
  if (!t) return TString();

  if (code.ID % 100 != 1 || code.Index2 == -1) {
    // Column codes (row 0) read as three digits: separator, rank in the designation, digits.
    if (!t->pBase || t->Params < 1 || code.Index < 0 || code.Index >= t->Count) return TString();
    const double* codes = t->pBase;
    const double* row = t->pBase + std::size_t(code.Index) * t->Params;
    TString s = Word(*t, 0);
    for (int rank = 1; rank <= 9; ++rank) {
      int j = 0;
      while (j < t->Params && Whole(codes[j]) / 10 % 10 != rank)
        ++j;
      if (j == t->Params) break;
      int c = Whole(codes[j]);
      int h = c / 100 % 10, u = c % 10;
      if (h == 1 || h == 3) s += TString("-");
      if (h == 2) s += TString("x");
      double v = row[j];
      if (std::fabs(v - std::round(v)) <= 0.005)
        s += TString(Whole(v), u);
      else
        s += TString(v, u, true, 7);
    }
    return s;
  }

  // Plate tables: a thickness record (second block) and its socket record (first block).
  constexpr int MoldFields = 2 + TDTable::CountTicknessPlate, SocketFields = 18;
  if (!t->pBase2 || t->Params2 < MoldFields || code.Index2 < 0 || code.Index2 >= t->Count2) return TString();
  const double* m = t->pBase2 + std::size_t(code.Index2) * t->Params2;
  int base = Whole(m[0]), plate = Whole(m[1]);
  if (!t->pBase || t->Params < SocketFields || base < 0 || base >= t->Count) return TString();
  if (code.Index < 0 || code.Index >= TDTable::CountTicknessPlate) return TString();
  const double* sock = t->pBase + std::size_t(base) * t->Params;
  int k = plate == 21 ? 2 : (plate == 1 || plate == 2) ? plate - 1 : plate;
  int at = (code.ID / 100) * 8 + k;
  TString s;
  if (k >= 0 && k < 8 && at >= 0 && at < 24) s = TString(PlateNames[at]);
  s += TString("-");
  s += TString(Whole(sock[1]), 3); // X
  s += TString("*");
  s += TString(Whole(sock[0]), 3); // Y
  s += TString("*");
  s += TString(Whole(m[2 + code.Index]), 2);
  s += TString("/");
  s += TString(base, 2);
  return s;
}

// ---------------------------------------------------------------------------------------------
// TADTable: reading

bool TADTable::Init(const TString& path, const TString& fileName)
{
  if (Active || Activate) return false;
  // The global text base already holds the coupling tables and opens one file per life.
  TTextBase base;
  // A missing file is reported once, here, rather than by the stream that fails to open it; what
  // stands there but is no file is refused by the stream, with that reason.
  const bool file = FileExists(path + fileName) == 1;
  if (!file && PathExists(path + fileName)) {
    base.Init(path, fileName);
    return false;
  }
  if (!file || !base.Init(path, fileName)) {
    Messager->LiftBox(DC(TString("Отсутствует файл ")) + path + fileName +
                          DC(TString(" Библиотеки элементов ")),
                      TMessager::toAlways);
    return false;
  }
  Init(base);
  return Active;
}

void TADTable::Init(TTextBase& base)
{
  if (Activate) return;
  Activate = true;
  Aid.reset();
  for (;;) {
    base.SkipTo(L'#');
    if (base.FB.EndOfFile() && base.EmptyBufer()) break;
    if (Count >= MaxDetails) {
      Messager->LiftBox(DC(TString("Прочитаны только первые 256 таблиц стандартных элементов")),
                        TMessager::toAlways);
      break;
    }
    TString name = base.GetStr();
    Details[Count++] = new TDTable(name, base);
  }
  Active = Count != 0;
}

void TADTable::Set(const TString& path, const TString& fileName)
{
  Path = path + TString("/");
  FileName = fileName;
}

void TADTable::Init()
{
  if (Activate) return;
  TTextBase base;
  if (FileExists(Path + FileName) == 1 && base.Init(Path, FileName)) Init(base);
  Activate = true;
}

// ---------------------------------------------------------------------------------------------
// TADTable: lookups

namespace {
// The rank of a column code (its tens digit); 0 for a plain or broken code.
int Rank(double code)
{
  const int c = Whole(code);
  return c < 0 ? 0 : c / 10 % 10;
}

// A table's first block as rows, every access checked.
struct TRows
{
  const TDTable* T = nullptr;
  explicit TRows(const TDTable* t) : T(t && t->pBase && t->Params > 0 && t->Count > 0 ? t : nullptr) {}
  explicit operator bool() const { return T != nullptr; }
  int Count() const { return T ? T->Count : 0; }
  int Params() const { return T ? T->Params : 0; }
  bool Has(int row, int col) const { return T && row >= 0 && row < T->Count && col >= 0 && col < T->Params; }
  double At(int row, int col) const
  {
    return T->pBase[std::size_t(row) * std::size_t(T->Params) + std::size_t(col)];
  }
  // The first column of that rank; -1 when none. The last one with last.
  int Column(int rank, bool last = false) const
  {
    int found = -1;
    for (int j = 0; j < Params(); ++j)
      if (Rank(At(0, j)) == rank) {
        found = j;
        if (!last) break;
      }
    return found;
  }
};
} // namespace

TDTable* TADTable::GetTable(int ID) const
{
  const int i = Index(ID);
  return i < 0 ? nullptr : Details[i];
}

int TADTable::Index(int ID) const
{
  const int count = std::min<int>(Count, MaxDetails);
  // Tables are only ever added after those read: the first one found for an ID stays the first.
  if (Aid && Aid->LastIndex >= 0 && Aid->LastIndex < count && Details[Aid->LastIndex] &&
      Details[Aid->LastIndex]->ID == ID)
    return Aid->LastIndex;
  for (int i = 0; i < count; ++i)
    if (Details[i] && Details[i]->ID == ID) {
      if (!Aid) Aid = std::make_unique<TSearchAid>();
      Aid->LastIndex = i;
      return i;
    }
  return -1;
}

const double* TADTable::SortedBy(const TDTable& t, const int* cols, int keys) const
{
  if (!Aid) Aid = std::make_unique<TSearchAid>();
  const auto key = std::make_tuple(&t, cols[0], keys > 1 ? cols[1] : -1, keys > 2 ? cols[2] : -1);
  if (key == Aid->LastKey) return Aid->LastSorted;
  const auto found = Aid->Sorted.find(key);
  if (found != Aid->Sorted.end()) {
    Aid->LastKey = key;
    return Aid->LastSorted = found->second.empty() ? nullptr : found->second.data();
  }
  TRows rows(&t);
  bool sorted = true;
  for (int r = 1; r < rows.Count() && sorted; ++r)
    for (int k = 0; k < keys; ++k) {
      const double v = rows.At(r, cols[k]);
      if (std::isnan(v)) {
        sorted = false;
        break;
      }
      if (r == 1) continue;
      const double before = rows.At(r - 1, cols[k]);
      if (before < v) break;
      if (before > v) {
        sorted = false;
        break;
      }
    }
  std::vector<double> values;
  if (sorted) {
    values.resize(std::size_t(rows.Count()) * std::size_t(keys));
    for (int r = 1; r < rows.Count(); ++r)
      for (int k = 0; k < keys; ++k)
        values[std::size_t(r) * std::size_t(keys) + std::size_t(k)] = rows.At(r, cols[k]);
  }
  const std::vector<double>& kept = Aid->Sorted.emplace(key, std::move(values)).first->second;
  Aid->LastKey = key;
  return Aid->LastSorted = kept.empty() ? nullptr : kept.data();
}

bool TADTable::Ranked(const TDTable& t, int rank) const
{
  if (!Aid) Aid = std::make_unique<TSearchAid>();
  if (Aid->RanksOf != &t) {
    TRows rows(&t);
    for (int k = 1; k <= 3; ++k)
      Aid->Ranked[k] = rows.Column(k) >= 0;
    Aid->RanksOf = &t;
  }
  return Aid->Ranked[rank];
}

const TDTable::TTicknessMoldBase* TADTable::TicknessMold(int ID, int I) const
{
  const TDTable* t = GetTable(ID);
  constexpr int fields = sizeof(TDTable::TTicknessMoldBase) / sizeof(double);
  if (!t || !t->pBase2 || t->Params2 < fields || I < 0 || I >= t->Count2) return nullptr;
  return reinterpret_cast<const TDTable::TTicknessMoldBase*>(t->pBase2 +
                                                             std::size_t(I) * std::size_t(t->Params2));
}

const TDTable::TSocketMoldBaseFCPK* TADTable::SocketMold(int ID, int I) const
{
  const TDTable* t = GetTable(ID);
  constexpr int fields = sizeof(TDTable::TSocketMoldBaseFCPK) / sizeof(double);
  if (!t || !t->pBase || t->Params < fields || I < 0 || I >= t->Count) return nullptr;
  return reinterpret_cast<const TDTable::TSocketMoldBaseFCPK*>(t->pBase +
                                                               std::size_t(I) * std::size_t(t->Params));
}

int TADTable::ThicknessCount(int ID) const
{
  const TDTable* t = GetTable(ID);
  return t ? t->Count2 : -1;
}

int TADTable::SocketCount(int ID) const
{
  const TDTable* t = GetTable(ID);
  return t ? t->Count : -1;
}

TBaseDetail TADTable::GetPlate(int ID, int IBase, int TPlate, double Limit, double& Thickness) const
{
  TBaseDetail none;
  if (Limit == 0.0 || std::isnan(Limit)) return none;
  const TDTable::TTicknessMoldBase* m = nullptr;
  int record = 0;
  for (; record < std::max(ThicknessCount(ID), 0) && !m; ++record) {
    const TDTable::TTicknessMoldBase* r = TicknessMold(ID, record);
    if (r && r->IBase == IBase && r->TPlate == TPlate) m = r;
  }
  if (!m) return none;
  --record;
  constexpr int last = TDTable::CountTicknessPlate - 1;
  const double A = std::fabs(Limit);
  int k = 0;
  if (!(A <= m->T[0] || m->T[1] == 0.0)) {
    k = 1;
    while (k < last && A > m->T[k] && m->T[k + 1] != 0.0)
      ++k;
  }
  // k is the first thickness not below A, or the largest when all lie below it; a negative limit
  // wants the largest not above A.
  if (Limit < 0.0 && m->T[k] > A) {
    // No thickness lies at or below A.
    if (k == 0) return none;
    --k;
  }
  Thickness = m->T[k];
  return TBaseDetail(ID, k, record);
}

void TADTable::GetManufactures(TArrayOf<TString>& List, bool Add) const
{
  if (!Add) {
    List.Count = 0;
    List.Add(AllParam);
  }
  for (int i = 0; i < std::min<int>(Count, MaxDetails); ++i)
    if (Details[i] && !List.Exist(Details[i]->Manufacturer)) List.Add(Details[i]->Manufacturer);
}

void TADTable::GetTypes(const TString& Manufacturer, TArrayOf<TString>& List, bool Add) const
{
  if (!Add) {
    List.Count = 0;
    List.Add(AllParam);
  }
  const bool any = Manufacturer == AllParam;
  for (int i = 0; i < std::min<int>(Count, MaxDetails); ++i) {
    const TDTable* t = Details[i];
    if (t && (any || t->Manufacturer == Manufacturer) && !List.Exist(t->Type)) List.Add(t->Type);
  }
}

void TADTable::GetDetails(const TString& Manufacturer, const TString& Type, TArrayOf<TString>& ADetails,
                          TArrayOf<int>& AIdDetails) const
{
  ADetails.Count = 0;
  AIdDetails.Count = 0;
  for (int i = 0; i < std::min<int>(Count, MaxDetails); ++i) {
    const TDTable* t = Details[i];
    if (!t || t->makeID == 0) continue;
    if (!(Manufacturer == AllParam) && !(t->Manufacturer == Manufacturer)) continue;
    if (!(Type == AllParam) && !(t->Type == Type)) continue;
    if (ADetails.Exist(t->Name)) {
      Messager->LiftBox(DC(TString("Повторяется ")) + t->Name, TMessager::toAlways);
      continue;
    }
    ADetails.Add(t->Name);
    AIdDetails.Add(t->ID);
  }
}

bool TADTable::GetParam(int IdDetail, int Number, TString& Name, TString& Comment,
                        TArrayOf<TString>& AValues) const
{
  const TDTable* t = GetTable(IdDetail);
  TRows rows(t);
  const int j = Number > 0 && rows ? rows.Column(Number, true) : -1;
  AValues.Count = 0;
  if (j < 0) {
    Name = TString();
    Comment = TString();
    return false;
  }
  Name = Word(*t, 2 + 2 * j);
  Comment = Word(*t, 3 + 2 * j);
  AValues.Add(AllParam);
  // Values met are looked up by hash: a column of many distinct values must not cost their square.
  // Equal values meet (0 and -0 too); a NaN equals nothing, so each one is listed, as a search by
  // == would list it.
  std::unordered_set<double> met;
  for (int row = 1; row < rows.Count(); ++row) {
    const double v = rows.At(row, j);
    if (!met.insert(v).second) continue;
    ReserveMore(AValues);
    AValues.Add(TString(v, 2, true, 7));
  }
  return true;
}

bool TADTable::GetSpcDetail(int IdDetail, const TString& P1, const TString& P2, const TString& P3,
                            TArrayOf<TString>& AValues, TArrayOf<int>& AIndex) const
{
  AValues.Count = 0;
  AIndex.Count = 0;
  const TDTable* t = GetTable(IdDetail);
  if (!t) return false;
  TRows rows(t);
  const TString* texts[3] = {&P1, &P2, &P3};
  std::vector<std::pair<int, double>> keys;
  for (int j = 0; j < rows.Params(); ++j) {
    const int k = Rank(rows.At(0, j));
    if (k < 1 || k > 3) continue;
    const TString& text = *texts[k - 1];
    if (text.Empty() || text == AllParam) continue;
    keys.emplace_back(j, text.toReal());
  }
  for (int row = 1; row < rows.Count(); ++row) {
    bool match = true;
    for (const auto& [j, v] : keys)
      match = match && std::fabs(rows.At(row, j) - v) <= 2e-6;
    if (!match) continue;
    ReserveMore(AValues);
    ReserveMore(AIndex);
    AValues.Add(Name(TBaseDetail(IdDetail, row, -1)));
    AIndex.Add(row);
  }
  return true;
}

int TADTable::IndexStDet(int DetailId, const double& P1, const double& P2, const double& P3) const
{
  TRows rows(GetTable(DetailId));
  if (!rows) return 0;
  const double P[3] = {P1, P2, P3};
  int cols[3], values = 0;
  double want[3];
  for (int k = 1; k <= 3; ++k) {
    const int j = rows.Column(k);
    if (j < 0) continue;
    // A key no row can hold finds nothing, as a missing one does.
    if (P[k - 1] == 0.0 || !std::isfinite(P[k - 1])) return 0;
    cols[values] = j;
    want[values++] = P[k - 1];
  }
  if (values == 0) return 1;
  // Whether the row keeps the values the earlier keys were matched with.
  auto inGroup = [&](int row, int key) {
    for (int q = 0; q < key; ++q)
      if (rows.At(row, cols[q]) != want[q]) return false;
    return true;
  };
  int row = 1;
  for (int key = 0; key < values; ++key) {
    const int j = cols[key];
    while (row < rows.Count() && want[key] > rows.At(row, j) && inGroup(row, key))
      ++row;
    if (row >= rows.Count()) return 0;
    if (rows.At(row, j) != want[key])
      while (row > 1 && rows.At(row - 1, j) == rows.At(row, j) && inGroup(row - 1, key))
        --row;
  }
  return row;
}

namespace {
// The first row of [a, b) of keys sorted side by side, K to a row, that does not sort before want; b when
// none. Without branches on the values: which way a search step goes cannot be guessed.
template <int K> int LowerByKeys(const double* sorted, int a, int b, const double* want)
{
  for (int len = b - a; len > 0;) {
    const int half = len / 2;
    const double* r = sorted + std::size_t(a + half) * std::size_t(K);
    bool less = false, equal = true;
    for (int q = 0; q < K; ++q) {
      less = less | (equal & (r[q] < want[q]));
      equal = equal & (r[q] == want[q]);
    }
    a = less ? a + half + 1 : a;
    len = less ? len - half - 1 : half;
  }
  return a;
}
} // namespace

int TADTable::IndexStDet(int DetailId, int IP1, double P1, int IP2, double P2, int IP3, double P3) const
{
  const int IP[3] = {IP1, IP2, IP3};
  const double P[3] = {P1, P2, P3};
  const TSearchAid::TPlan* plan = Aid ? &Aid->Plan : nullptr;
  if (!plan || !plan->T || plan->Id != DetailId || plan->IP[0] != IP1 || plan->IP[1] != IP2 ||
      plan->IP[2] != IP3) {
    // A table not found is not remembered: it may still be added.
    const TDTable* table = GetTable(DetailId);
    TRows found(table);
    if (!found) return 0;
    TSearchAid::TPlan made;
    made.Id = DetailId;
    made.T = table;
    for (int k = 1; k <= 3; ++k) {
      made.IP[k - 1] = IP[k - 1];
      if (!Ranked(*table, k) || made.NoneFits) continue;
      // No column, or a column outside the row, finds nothing.
      const long col = std::labs(long(IP[k - 1])) - 1;
      if (IP[k - 1] == 0 || col >= found.Params()) {
        made.NoneFits = true;
        continue;
      }
      made.Cols[made.Keys] = int(col);
      made.Signs[made.Keys] = IP[k - 1] < 0 ? -1 : 1;
      made.Ranks[made.Keys++] = k;
    }
    if (!made.NoneFits && made.Keys > 0) made.Sorted = SortedBy(*table, made.Cols, made.Keys);
    if (!Aid) Aid = std::make_unique<TSearchAid>();
    Aid->Plan = made;
    plan = &Aid->Plan;
  }
  if (plan->NoneFits) return 0;
  TRows rows(plan->T);
  const int keys = plan->Keys;
  const int* cols = plan->Cols;
  const int* signs = plan->Signs;
  double want[3];
  for (int q = 0; q < keys; ++q) {
    // A key no row can hold (a size that is not a number or endless) finds nothing.
    want[q] = P[plan->Ranks[q] - 1];
    if (!std::isfinite(want[q])) return 0;
  }
  if (keys == 0) return 1;
  if (const double* sortedKeys = plan->Sorted) {
    // Rows sorted by the keys: the rows keeping the values chosen for the earlier keys are one run, and
    // each key is one search of the rows from lo on by the chosen values followed by this key's value.
    // lo never passes the first row of the run; the rows before the run compare below it.
    const int n = rows.Count();
    int lo = 1;
    if (lo >= n) return 0;
    double chosen[3];
    const std::size_t stride = std::size_t(keys);
    // How row compares with the values chosen for the keys before key: -1, 0 or 1.
    auto prefix = [&](int row, int key) {
      for (int q = 0; q < key; ++q) {
        const double v = sortedKeys[std::size_t(row) * stride + std::size_t(q)];
        if (v != chosen[q]) return v < chosen[q] ? -1 : 1;
      }
      return 0;
    };
    // Whether row sorts before the chosen values followed by v in the key's column. Without branches on the
    // values: which way a search step goes cannot be guessed, and a wrong guess costs more than the step.
    auto before = [&](int row, int key, double v) {
      const double* r = sortedKeys + std::size_t(row) * stride;
      bool less = false, equal = true;
      for (int q = 0; q < key; ++q) {
        less = less | (equal & (r[q] < chosen[q]));
        equal = equal & (r[q] == chosen[q]);
      }
      return less | (equal & (r[key] < v));
    };
    // The first row of [a, b) not before the chosen values followed by v in the key's column; b when none.
    auto lower = [&](int a, int b, int key, double v) {
      for (int len = b - a; len > 0;) {
        const int half = len / 2;
        const bool on = before(a + half, key, v);
        a = on ? a + half + 1 : a;
        len = on ? len - half - 1 : half;
      }
      return a;
    };
    // Sizes asked for as the table holds them are the common case: one search by all the keys finds them.
    // With the number of keys known at compile time the comparison of a step unrolls.
    for (int q = 0; q < keys; ++q)
      chosen[q] = want[q];
    const int p = keys == 1   ? LowerByKeys<1>(sortedKeys, lo, n, want)
                  : keys == 2 ? LowerByKeys<2>(sortedKeys, lo, n, want)
                              : LowerByKeys<3>(sortedKeys, lo, n, want);
    if (p < n && prefix(p, keys) == 0) return p;
    for (int key = 0; key < keys; ++key) {
      // Row r's value of this key.
      auto at = [&](int r) { return sortedKeys[std::size_t(r) * stride + std::size_t(key)]; };
      const double w = want[key];
      const int p = lower(lo, n, key, w);
      const bool inRun = p < n && prefix(p, key) == 0;
      if (inRun && (at(p) == w || signs[key] < 0)) {
        // The value itself, or for a negative column the smallest above it: p starts its rows.
        chosen[key] = at(p);
        lo = p;
        continue;
      }
      if (signs[key] < 0) return 0;
      // The largest value below w is the row before p, when that row is still in the run.
      if (p - 1 < lo || prefix(p - 1, key) != 0) return 0;
      chosen[key] = at(p - 1);
      // Only the result needs the first row of that value; a later key's search finds its own way.
      if (key == keys - 1) lo = lower(lo, p, key, chosen[key]);
    }
    return lo;
  }
  // Whether row keeps the values row `of` holds in the columns of the keys before key.
  auto sameGroup = [&](int row, int of, int key) {
    for (int q = 0; q < key; ++q)
      if (rows.At(row, cols[q]) != rows.At(of, cols[q])) return false;
    return true;
  };
  int row = 1;
  if (row >= rows.Count()) return 0;
  for (int key = 0; key < keys; ++key) {
    const int j = cols[key];
    if (rows.At(row, j) == want[key]) continue;
    if (signs[key] < 0) {
      // The first row of the group above the value.
      while (rows.At(row, j) < want[key]) {
        if (row + 1 >= rows.Count() || !sameGroup(row + 1, row, key)) return 0;
        ++row;
      }
    } else {
      // The first row of the last run not above the value.
      if (rows.At(row, j) > want[key]) return 0;
      while (row + 1 < rows.Count() && rows.At(row + 1, j) <= want[key] && sameGroup(row + 1, row, key))
        ++row;
      while (row > 1 && rows.At(row - 1, j) == rows.At(row, j) && sameGroup(row - 1, row, key))
        --row;
    }
  }
  return row;
}

int TADTable::Select(int DetailId, int IP1, double P1, int IP2, double P2, int IP3, double P3) const
{
  const TDTable* t = GetTable(DetailId);
  return t ? t->Select(IP1, P1, IP2, P2, IP3, P3) : 0;
}

bool TADTable::Params(int ID, int Index, TArrayOf<double>& A) const
{
  A.Count = 0;
  const double* row = ParStDet(ID, Index);
  if (!row) return false;
  A.ReserveSize(GetTable(ID)->Params + 1);
  A.Add(0.0);
  for (int j = 0; j < GetTable(ID)->Params; ++j)
    A.Add(row[j]);
  return true;
}

double TADTable::ParStDet(int ID, int Index, int Column) const
{
  TRows rows(GetTable(ID));
  if (Index < 1 || Column < 1 || !rows.Has(Index, Column - 1)) return 0.0;
  return rows.At(Index, Column - 1);
}

const double* TADTable::ParStDet(int ID, int Index) const
{
  TRows rows(GetTable(ID));
  if (Index < 1 || !rows.Has(Index, 0)) return nullptr;
  return &rows.T->pBase[std::size_t(Index) * std::size_t(rows.Params())];
}

bool TADTable::GetStDet(int ID, int Index, double& P1, double& P2, double& P3) const
{
  TRows rows(GetTable(ID));
  if (!rows.Has(Index, 4)) return false;
  P1 = rows.At(Index, 2);
  P2 = rows.At(Index, 3);
  P3 = rows.At(Index, 4);
  return true;
}
