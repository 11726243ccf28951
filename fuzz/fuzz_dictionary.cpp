// Arbitrary bytes as a phrase dictionary file: it is loaded, every loaded pair and a few other
// phrases are looked up, the dictionary is saved and the saved file loaded again; then the same
// bytes are read as a program text whose DC("...") literals are collected, and saved again.
// Every call must stop and stay inside the table; a saved dictionary must read back unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>

#include "fuzz/FuzzScratch.h"
#include "hxcadkit/core/Dictionary.h"

namespace {

namespace fs = std::filesystem;

// Dictionaries made in the same storage for every input: the table is one large block, which the
// sanitizer's allocator maps afresh and zeroes page by page at every allocation, a sixth of an input's time.
struct TDictionarySlot
{
  alignas(TDictionary) unsigned char Storage[sizeof(TDictionary)];
};
TDictionarySlot Loaded, Reloaded;

class TFreshDictionary
{
public:
  explicit TFreshDictionary(TDictionarySlot& slot) : D(new (slot.Storage) TDictionary) {}
  ~TFreshDictionary() { D->~TDictionary(); }
  TFreshDictionary(const TFreshDictionary&) = delete;
  TFreshDictionary& operator=(const TFreshDictionary&) = delete;
  TDictionary* operator->() const { return D; }
  TDictionary& operator*() const { return *D; }

private:
  TDictionary* D;
};

void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_dictionary: %s\n", what);
    std::abort();
  }
}

// The scratch folder: "a/" holds the input, "b/" the saved dictionary read back.
const fs::path& Root()
{
  static const hxcad::fuzz::Scratch scratch("fuzz_dic");
  static const fs::path root = [] {
    fs::create_directory(scratch / "a");
    fs::create_directory(scratch / "b");
    return scratch.Path();
  }();
  return root;
}

TString DirText(const char* sub)
{
  return TString((Root() / sub).string().append("/").c_str());
}

void WriteFile(const fs::path& p, const std::uint8_t* data, std::size_t size)
{
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  if (size) f.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

void ClearDir(const char* sub)
{
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(Root() / sub, ec))
    fs::remove_all(e.path(), ec);
}

void CheckTable(const TDictionary& d)
{
  Check(d.CountWords >= 0 && d.CountWords <= d.AllWords, "sorted part out of range");
  Check(d.AllWords <= TDictionary::MaxCountWords, "table overfull");
  for (Integer i = 1; i < d.CountWords; ++i)
    Check(!(d.Words[i][0] < d.Words[i - 1][0]), "sorted part out of order");
}

bool Known(const TDictionary& d, const TString& s)
{
  for (Integer i = 0; i < d.AllWords; ++i)
    if (d.Words[i][0] == s) return true;
  return false;
}

// A lookup of a phrase that may or may not be in the table.
void LookUp(TDictionary& d, const TString& phrase)
{
  const Integer before = d.AllWords;
  const bool known = Known(d, phrase);
  const TString& r = d.DC(phrase);
  if (!d.Active || phrase.Empty()) {
    Check(&r == &phrase && d.AllWords == before, "inactive lookup changed something");
    return;
  }
  if (known) {
    Check(d.AllWords == before, "a known phrase was collected again");
    bool fits = false;
    for (Integer i = 0; i < d.AllWords && !fits; ++i)
      fits = d.Words[i][0] == phrase && (d.Words[i][1].Empty() ? r == phrase : r == d.Words[i][1]);
    Check(fits, "lookup answered no translation of the phrase");
    return;
  }
  Check(r == phrase, "a missing phrase did not come back");
  const bool storable = phrase.Find('"') == 0 && before < TDictionary::MaxCountWords;
  Check(d.AllWords == before + (storable ? 1 : 0), "missing phrase collected wrongly");
  d.DC(phrase);
  Check(d.AllWords == before + (storable ? 1 : 0), "missing phrase collected twice");
}

fs::path SavedFile()
{
  return Root() / "a" / "ZEdozodNew.dic";
}

void ForgetSaved()
{
  std::error_code ec;
  fs::remove(SavedFile(), ec);
}

// When a file was saved, a fresh dictionary loads from it the same pairs in the same order.
void CheckSaved(const TDictionary& d)
{
  if (!fs::exists(SavedFile())) return;
  Check(d.CountWords == d.AllWords, "saved table not merged");
  ClearDir("b");
  std::error_code ec;
  fs::copy_file(SavedFile(), Root() / "b" / "ZEdozod.dic", ec);
  Check(!ec, "cannot copy the saved file");
  TFreshDictionary e(Reloaded);
  e->Init(TString("libVUVudirido"), DirText("b"), TString());
  Check(e->CountWords == d.AllWords && e->AllWords == d.AllWords, "saved pairs lost");
  for (Integer i = 0; i < d.AllWords; ++i)
    Check(e->Words[i][0] == d.Words[i][0] && e->Words[i][1] == d.Words[i][1], "saved pair changed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  ClearDir("a");
  // Odd sizes go by another name, so that the directory search finds the file.
  WriteFile(Root() / "a" / (size % 2 ? "any.dic" : "ZEdozod.dic"), data, size);

  TFreshDictionary d(Loaded);
  const bool active = d->Init(TString("libVUVudirido"), DirText("a"), TString());
  Check(active == (d->CountWords > 0) && d->AllWords == d->CountWords, "load counts");
  CheckTable(*d);

  // Loaded pairs, at most 256 of them spread over the table (each check scans the table).
  const Integer step = d->CountWords / 256 + 1;
  for (Integer i = 0; i < d->CountWords; i += step) {
    TString source = d->Words[i][0];
    LookUp(*d, source);
  }
  // Phrases cut from the input, most of them unknown.
  for (std::size_t at = 0; at < size && at < 64; at += 16) {
    TString phrase;
    phrase.Set(data + at, unsigned(std::min<std::size_t>(8, size - at)));
    LookUp(*d, phrase);
  }
  LookUp(*d, TString("Новая фраза"));

  ForgetSaved();
  const bool pending = d->CountWords != d->AllWords;
  d->Save();
  CheckTable(*d);
  Check(fs::exists(SavedFile()) == pending, "saved without a change, or changes not saved");
  CheckSaved(*d);

  // The same bytes as a program text.
  ForgetSaved();
  WriteFile(Root() / "a" / "source.txt", data, size);
  const Integer before = d->AllWords;
  d->Update(TString((Root() / "a" / "source.txt").string().c_str()));
  CheckTable(*d);
  Check(d->AllWords >= before, "update lost pairs");
  Check(fs::exists(SavedFile()) == (d->AllWords > before), "collected phrases not saved");
  CheckSaved(*d);
  return 0;
}
