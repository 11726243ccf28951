// Growable arrays: growth policy, editing, search, sorting, the stream form and the pointer,
// string and pair companions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/TArray.h"
#include "tests/core/MessageRecorder.h"

namespace {

const TString ReadError("ZEDozod::  Ошибка чтения потока");
const TString WriteError("ZEDozod::  Ошибка масива при записи потока");

// Counts live objects, to see what the arrays construct and destroy.
struct TCounted
{
  static int Live;
  int V = 0;
  TCounted() { ++Live; }
  TCounted(int v) : V(v) { ++Live; }
  TCounted(const TCounted& o) : V(o.V) { ++Live; }
  TCounted& operator=(const TCounted& o) = default;
  ~TCounted() { --Live; }
  bool operator==(const TCounted& o) const { return V == o.V; }
};
int TCounted::Live = 0;

struct TXY
{
  double x = 0, y = 0;
  bool operator<(const TXY& o) const { return x < o.x || (x == o.x && y < o.y); }
  bool operator==(const TXY& o) const { return x == o.x && y == o.y; }
};

template <class T> std::vector<T> Items(const TArrayOf<T>& a)
{
  std::vector<T> v;
  for (const T& x : a)
    v.push_back(x);
  return v;
}

// The data bytes of a memory stream (without its 256-byte header).
std::vector<unsigned char> StreamData(const TKmfData& s)
{
  std::vector<unsigned char> v;
  s.to(v);
  return std::vector<unsigned char>(v.begin() + 256, v.end());
}

std::vector<unsigned char> Ints(std::initializer_list<std::int32_t> values)
{
  std::vector<unsigned char> v;
  for (std::int32_t x : values) {
    unsigned char b[4];
    std::memcpy(b, &x, 4);
    v.insert(v.end(), b, b + 4);
  }
  return v;
}

// A memory stream of the given data bytes behind a header of the given version.
void Load(TKmfData& s, const std::vector<unsigned char>& data, std::int32_t version = KmfVersion)
{
  // Made whole at once: gcc 12 takes an insertion behind the header for a write past it.
  std::vector<unsigned char> v(256 + data.size(), 0);
  const std::int32_t head = KmfHeadMagic;
  std::memcpy(v.data(), &head, 4);
  std::memcpy(v.data() + 4, &version, 4);
  std::copy(data.begin(), data.end(), v.begin() + 256);
  ASSERT_TRUE(s.from(v));
}

// Writes a through toStream and reads the bytes back into b through fromStream.
template <class A> void RoundTrip(const A& a, A& b)
{
  TKmfData out;
  a.toStream(out);
  std::vector<unsigned char> v;
  out.to(v);
  TKmfData in;
  ASSERT_TRUE(in.from(v));
  b.fromStream(in);
}

} // namespace

// ---------------------------------------------------------------- growth

// Random edits against std::vector, with the growth policy as its own model: storage grows by the
// step, or straight to a larger request, never shrinks, and keeps the elements in use.
TEST(ArrayGrowth, EditsAgreeWithAVectorAndStorageGrowsByTheStep)
{
  std::mt19937 rng(7);
  for (int step : {0, 1, 5, 64}) {
    SCOPED_TRACE("step " + std::to_string(step));
    TArrayOf<int> a(step, step);
    std::vector<int> v;
    Integer size = step;
    auto grown = [&](Integer n) { return size >= n ? size : std::max<Integer>(size + step, n); };
    for (int k = 0; k < 2000; ++k) {
      const int x = int(rng() % 1000);
      const int at = int(rng() % (v.size() + 3)) - 1; // -1 .. past the end
      switch (rng() % 5) {
      case 0:
      case 1:
        size = grown(Integer(v.size()) + 1);
        a.Add(x);
        v.push_back(x);
        break;
      case 2: // before at; at or past the end appends; a negative index does nothing
        if (at < 0) break;
        size = grown(Integer(v.size()) + 1);
        v.insert(v.begin() + std::min<std::size_t>(std::size_t(at), v.size()), x);
        a.Insert(at, x);
        break;
      case 3:
        a.Delete(at);
        if (at >= 0 && std::size_t(at) < v.size()) v.erase(v.begin() + at);
        break;
      case 4:
        size = grown(Integer(x / 4));
        a.SetSize(x / 4);
        a.SetSize(-1); // changes nothing
        break;
      }
      ASSERT_EQ(Items(a), v);
      ASSERT_EQ(a.FSize, size);
      ASSERT_EQ(a.IndexOf(x), v.end() == std::find(v.begin(), v.end(), x)
                                  ? -1
                                  : Integer(std::find(v.begin(), v.end(), x) - v.begin()));
    }
    a.SetSize(3, true); // with clear: empty, and the storage stays
    EXPECT_EQ(a.Count, 0);
    EXPECT_EQ(a.FSize, size);
  }
  TArrayOf<int> b(4, 3);
  b.Item(10) = 7; // Item grows the storage to hold the index
  EXPECT_GE(b.FSize, 11);
  EXPECT_EQ(b[10], 7);
}

TEST(ArrayGrowth, AppendingAnElementOfTheArrayItselfSurvivesGrowth)
{
  TArrayOf<TString> a(1, 1);
  a.Add(TString("перший"));
  a.Add(a[0]); // the storage is replaced while x refers into it
  a.Insert(0, a.Last());
  EXPECT_EQ(a.Count, 3);
  for (const TString& s : a)
    EXPECT_TRUE(s == TString("перший"));
}

// ---------------------------------------------------------------- ownership

TEST(ArrayOwnership, StepZeroArraysReleaseWhatTheyGrew)
{
  const int before = TCounted::Live;
  {
    TArrayOf<TCounted> a;
    for (int i = 0; i < 10; ++i)
      a.Add(TCounted(i));
    EXPECT_EQ(a.FCapacity, 0);
    EXPECT_GT(TCounted::Live, before);
  }
  EXPECT_EQ(TCounted::Live, before);
  TArrayOf<TCounted> b;
  b.Add(TCounted(1));
  b.FreeMemory();
  EXPECT_EQ(TCounted::Live, before);
  EXPECT_EQ(b.FSize, 0);
  EXPECT_EQ(b.Count, 1); // the caller empties it before reuse
  b.Count = 0;
  b.Add(TCounted(2));
  EXPECT_EQ(b[0].V, 2);
}

TEST(ArrayOwnership, DeleteDoesNotKeepASecondReferenceToTheFormerLast)
{
  auto p0 = std::make_shared<int>(0), p1 = std::make_shared<int>(1), p2 = std::make_shared<int>(2);
  TArrayOf<std::shared_ptr<int>> a(4, 4);
  a.Add(p0);
  a.Add(p1);
  a.Add(p2);
  a.Delete(1);
  EXPECT_EQ(a.Count, 2);
  EXPECT_EQ(p1.use_count(), 1);
  EXPECT_EQ(p2.use_count(), 2);
  EXPECT_EQ(a[1], p2);
}

TEST(ArrayOwnership, CopiesAreIndependent)
{
  const int before = TCounted::Live;
  {
    TArrayOf<TCounted> a(8, 4);
    a.Add(TCounted(1));
    a.Add(TCounted(2));
    a.Current = 1;
    a.N = 9;
    TArrayOf<TCounted> b(a);
    EXPECT_EQ(b.FSize, 2);
    EXPECT_EQ(b.FCapacity, 4);
    EXPECT_EQ(b.Count, 2);
    EXPECT_EQ(b.Current, 1);
    EXPECT_EQ(b.N, 9);
    b[0].V = 5;
    EXPECT_EQ(a[0].V, 1);
  }
  EXPECT_EQ(TCounted::Live, before);
}

// ---------------------------------------------------------------- sorting

TEST(ArraySort, PointsByXThenY)
{
  TArrayOf<TXY> a{{1, 2}, {0, 5}, {1, 1}};
  a.Sort();
  EXPECT_EQ(Items(a), (std::vector<TXY>{{0, 5}, {1, 1}, {1, 2}}));
}

TEST(ArraySort, AgreesWithStdSort)
{
  std::mt19937 rng(12345);
  for (int n : {0, 1, 2, 3, 7, 50, 1000, 20000}) {
    for (int range : {3, 1000000}) {
      SCOPED_TRACE(std::to_string(n) + " elements below " + std::to_string(range));
      std::vector<int> v(n);
      for (int& x : v)
        x = int(rng() % range);
      TArrayOf<int> a(n, 16);
      for (int x : v)
        a.Add(x);
      a.Sort();
      std::sort(v.begin(), v.end());
      EXPECT_EQ(Items(a), v);
    }
  }
}

TEST(ArraySort, SortsOnlyTheGivenRange)
{
  TArrayOf<int> a{9, 8, 7, 6, 5, 4};
  a.QuickSort(1, 4);
  EXPECT_EQ(Items(a), (std::vector<int>{9, 5, 6, 7, 8, 4}));
  a.QuickSort(-5, 5);
  EXPECT_EQ(Items(a), (std::vector<int>{4, 5, 6, 7, 8, 9}));
  TArrayOf<int> b(3, 3);
  b.Add(2);
  b.Add(1);
  b.QuickSort(0, 1000); // clipped to the storage
  EXPECT_EQ(Items(b), (std::vector<int>{0, 1}));
}

TEST(ArraySort, LargeSortedReversedAndEqualInputs)
{
  const int n = 1000000;
  struct TCase
  {
    const char* Name;
    int (*Value)(int);
  };
  const TCase cases[] = {
      {"sorted", [](int i) { return i; }},
      {"reversed", [](int i) { return -i; }},
      {"all equal", [](int) { return 42; }},
      {"organ pipe", [](int i) { return i < 500000 ? i : 1000000 - i; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TArrayOf<int> a(n, 0);
    for (int i = 0; i < n; ++i)
      a.Add(c.Value(i));
    a.Sort();
    EXPECT_TRUE(std::is_sorted(&a[0], &a[0] + a.Count));
    EXPECT_EQ(a.Count, n);
  }
}

// ---------------------------------------------------------------- stream form

TEST(ArrayStream, HeaderThenElements)
{
  TArrayOf<int> a(128, 64);
  a.Add(10);
  a.Add(20);
  a.Add(30);
  a.Current = 2;
  TKmfData s;
  a.toStream(s);
  EXPECT_EQ(StreamData(s), Ints({128, 64, 3, 2, 10, 20, 30}));
  TKmfData s2;
  a.toStream2(s2);
  EXPECT_EQ(StreamData(s2), Ints({128, 64, 3, 2, 10, 20, 30}));
}

TEST(ArrayStream, ReadingIntoASmallerArrayGrowsIt)
{
  TArrayOf<int> a(128, 64);
  a.Add(10);
  a.Add(20);
  a.Add(30);
  a.Current = 2;
  TArrayOf<int> b(8, 4);
  b.N = 6;
  RoundTrip(a, b);
  EXPECT_GE(b.FSize, 128);
  EXPECT_EQ(b.FCapacity, 64);
  EXPECT_EQ(Items(b), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(b.Current, 2);
  EXPECT_EQ(b.N, 6); // not part of the stream
}

TEST(ArrayStream, RawFormRoundTrips)
{
  TArrayOf<double> a(4, 4);
  a.Add(1.5);
  a.Add(-0.0);
  a.Add(std::numeric_limits<double>::infinity());
  TKmfData out;
  a.toStream2(out);
  std::vector<unsigned char> v;
  out.to(v);
  TKmfData in;
  ASSERT_TRUE(in.from(v));
  TArrayOf<double> b;
  b.fromStream2(in);
  ASSERT_EQ(b.Count, 3);
  EXPECT_EQ(std::memcmp(&b[0], &a[0], 3 * sizeof(double)), 0);
}

TEST(ArrayStream, StringsRoundTrip)
{
  TAStr a{"вал", "", "Втулка-1"};
  TAStr b;
  RoundTrip(a, b);
  ASSERT_EQ(b.Count, 3);
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(b[i] == a[i]);
}

TEST(ArrayStream, StoredStepOutsideItsRangeBecomes32)
{
  struct TCase
  {
    std::int32_t Stored;
    std::int32_t Expect;
  };
  for (TCase c : {TCase{-1, 32}, TCase{20000, 32}, TCase{10241, 32}, TCase{10240, 10240}, TCase{0, 0}}) {
    SCOPED_TRACE(c.Stored);
    TMessageRecorder rec;
    rec.Modeler.IsThere = true;
    TKmfData s;
    Load(s, Ints({2, c.Stored, 2, 0, 7, 8}));
    TArrayOf<int> a;
    a.fromStream(s);
    EXPECT_EQ(a.FCapacity, c.Expect);
    EXPECT_EQ(Items(a), (std::vector<int>{7, 8}));
    EXPECT_TRUE(rec.Log.empty());
  }
}

TEST(ArrayStream, CountBeyondTheSizeGivesTheReadMessageAndAnEmptyArray)
{
  TMessageRecorder rec;
  rec.Modeler.IsThere = true;
  TKmfData s;
  Load(s, Ints({4, 4, 100, 0, 1, 2, 3, 4}));
  TArrayOf<int> a{5, 6};
  a.fromStream(s);
  EXPECT_EQ(a.Count, 0);
  ASSERT_EQ(rec.HostBoxes().size(), 1u);
  EXPECT_TRUE(rec.HostBoxes()[0] == ReadError);
}

TEST(ArrayStream, NegativeCountGivesTheReadMessage)
{
  TMessageRecorder rec;
  rec.Modeler.IsThere = true;
  TKmfData s;
  Load(s, Ints({4, 4, -1, 0}));
  TArrayOf<int> a;
  a.fromStream2(s);
  EXPECT_EQ(a.Count, 0);
  ASSERT_EQ(rec.HostBoxes().size(), 1u);
  EXPECT_TRUE(rec.HostBoxes()[0] == ReadError);
}

TEST(ArrayStream, TruncatedElementsGiveAnEmptyArrayWithoutAMessage)
{
  TMessageRecorder rec;
  rec.Modeler.IsThere = true;
  for (bool raw : {false, true}) {
    TKmfData s;
    Load(s, Ints({5, 5, 5, 0, 1, 2}));
    TArrayOf<int> a;
    raw ? a.fromStream2(s) : a.fromStream(s);
    EXPECT_EQ(a.Count, 0);
  }
  TKmfData s;
  TAStr strings{"a", "bb"};
  strings.toStream(s);
  std::vector<unsigned char> v;
  s.to(v);
  v.resize(v.size() - 2); // the second string loses its last byte and terminator
  TKmfData in;
  ASSERT_TRUE(in.from(v));
  TAStr b;
  b.fromStream(in);
  EXPECT_EQ(b.Count, 0);
  EXPECT_TRUE(rec.Log.empty());
}

TEST(ArrayStream, OlderVersionsHaveNoCurrent)
{
  for (std::int32_t version : {4, 30}) {
    SCOPED_TRACE(version);
    TKmfData s;
    Load(s, Ints({3, 3, 2, 11, 12}), version);
    TArrayOf<int> a;
    a.Current = 5;
    a.fromStream(s);
    EXPECT_EQ(a.Current, 0);
    EXPECT_EQ(Items(a), (std::vector<int>{11, 12}));
  }
  TKmfData s;
  Load(s, Ints({3, 3, 2, 1, 11, 12}), 31);
  TArrayOf<int> a;
  a.fromStream(s);
  EXPECT_EQ(a.Current, 1);
  EXPECT_EQ(Items(a), (std::vector<int>{11, 12}));
}

TEST(ArrayStream, AHugeStoredSizeDoesNotAllocateBeyondTheData)
{
  TMessageRecorder rec;
  rec.Modeler.IsThere = true;
  const std::int32_t huge = std::numeric_limits<std::int32_t>::max();
  {
    // Five ints of data, both size and count absurd.
    TKmfData s;
    Load(s, Ints({huge, 16, huge, 0, 1, 2, 3, 4, 5}));
    TArrayOf<int> a;
    a.fromStream(s);
    EXPECT_LE(a.FSize, 1024);
    EXPECT_EQ(a.Count, 0);
    ASSERT_EQ(rec.HostBoxes().size(), 1u);
    EXPECT_TRUE(rec.HostBoxes()[0] == ReadError);
  }
  {
    TKmfData s;
    Load(s, Ints({huge, 16, 3, 0, 1, 2, 3}));
    TArrayOf<int> a;
    a.fromStream2(s);
    EXPECT_LE(a.FSize, 1024);
    EXPECT_EQ(Items(a), (std::vector<int>{1, 2, 3}));
  }
  {
    TKmfData s;
    Load(s, Ints({huge, 10240, 3, 0, 1, 2, 3}));
    TAStr a;
    a.fromStream(s);
    EXPECT_LE(a.FSize, 1024);
  }
  {
    // The largest step a stream may store is kept for growth, not reserved on reading.
    TKmfData s;
    Load(s, Ints({3, 10240, 3, 0, 1, 2, 3}));
    TArrayOf<int> a;
    a.fromStream2(s);
    EXPECT_EQ(a.FSize, 3);
    EXPECT_EQ(a.FCapacity, 10240);
    EXPECT_EQ(Items(a), (std::vector<int>{1, 2, 3}));
  }
}

TEST(ArrayStream, ManyArraysOfOneStreamReserveNoMoreThanTheirOwnElementsOrASmallRoom)
{
  // Arrays one after another: every third carries two elements and the room its writer set aside, the
  // others store an absurd size and no element. The bytes left after each header are many, but they
  // belong to the arrays that follow.
  const std::int32_t huge = std::numeric_limits<std::int32_t>::max();
  const int arrays = 3000;
  std::vector<unsigned char> data;
  for (int k = 0; k < arrays; ++k) {
    const std::vector<unsigned char> a = k % 3 ? Ints({huge, 64, 0, 0}) : Ints({1000, 64, 2, 0, k, -k});
    data.insert(data.end(), a.begin(), a.end());
  }
  TKmfData s;
  Load(s, data);
  for (int k = 0; k < arrays; ++k) {
    TArrayOf<int> a;
    a.fromStream2(s);
    ASSERT_EQ(Items(a), k % 3 ? std::vector<int>{} : std::vector<int>({k, -k})) << k;
    ASSERT_EQ(a.FSize, k % 3 ? 1024 : 1000) << k;
    EXPECT_EQ(a.FCapacity, 64);
  }
}

TEST(ArrayStream, InconsistentArraysWriteOnlyWhatExists)
{
  TMessageRecorder rec;
  rec.Modeler.IsThere = true;
  TArrayOf<int> a(2, 2);
  a.Add(1);
  a.Add(2);
  a.Count = 5; // more than the storage holds
  TKmfData s;
  a.toStream(s);
  ASSERT_EQ(rec.HostBoxes().size(), 1u);
  EXPECT_TRUE(rec.HostBoxes()[0] == WriteError);
  EXPECT_EQ(StreamData(s), Ints({2, 2, 2, 0, 1, 2}));

  TArrayOf<int> b(2, 2);
  b.Add(4);
  b.FCapacity = -3;
  TKmfData t;
  b.toStream2(t);
  EXPECT_EQ(rec.HostBoxes().size(), 2u);
  EXPECT_EQ(StreamData(t), Ints({2, -3, 1, 0, 4}));
}

// ---------------------------------------------------------------- companions

TEST(ArrayOfPointers, DeleteDetachAndReleaseItem)
{
  const int before = TCounted::Live;
  TArrayOfP<TCounted> a;
  for (int i = 0; i < 4; ++i)
    a.Add(new TCounted(i));
  EXPECT_EQ(TCounted::Live, before + 4);

  a.Delete(1); // deletes and closes the gap
  EXPECT_EQ(TCounted::Live, before + 3);
  ASSERT_EQ(a.Count, 3);
  EXPECT_EQ(a[1]->V, 2);

  TCounted* p = a.Detach(0); // hands the object back
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->V, 0);
  EXPECT_EQ(TCounted::Live, before + 3);
  EXPECT_EQ(a.Count, 2);
  EXPECT_EQ(a[0]->V, 2);
  delete p;

  a.ReleaseItem(1); // deletes and leaves a null slot
  EXPECT_EQ(TCounted::Live, before + 1);
  EXPECT_EQ(a.Count, 2);
  EXPECT_EQ(a[1], nullptr);
  a.ReleaseItem(1); // a null slot again: nothing to delete
  for (int i : {-1, 2, 5}) {
    a.ReleaseItem(i);
    a.Delete(i);
    EXPECT_EQ(a.Detach(i), nullptr);
  }
  EXPECT_EQ(a.Count, 2);
  a.ReleaseItem(0);
  EXPECT_EQ(TCounted::Live, before);
}
