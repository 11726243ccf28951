#pragma once
// TArrayOf: the growable array behind almost every list of the framework. It grows by a step
// chosen per array (never by doubling), its element accessor grows the storage instead of
// failing, and it travels on a TKmfData stream with a four-field header. Each array has its own
// mutex, held while the storage is replaced and while an element is appended.
//
// Companions: TArrayOfP (pointers whose objects the array's owner owns), TAStr (strings),
// TPair (a two-field record used as an element) and TATime (time points of TDebug).
#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <type_traits>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TDebug.h"
#include "hxcadkit/core/Types.h"

// The fewest bytes one element takes on a stream. A reader never grows its storage beyond what
// the bytes left in the stream can hold, so this must never overstate: element types whose
// stream form has a known floor may specialise it.
template <class T> struct TStreamElementBytes
{
  static constexpr unsigned Min = std::is_arithmetic_v<T> || std::is_enum_v<T> ? sizeof(T) : 1;
};
template <> struct TStreamElementBytes<TString>
{
  static constexpr unsigned Min = 5; // int32 length and the terminating 0
};

template <class TElement> class TArrayOf
{
public:
  typedef TArrayOf<TElement> TArrayOfTElement;

  // An element pointer that walks the used part of the storage.
  template <class E> class TIterator
  {
  public:
    explicit TIterator(E* p) : P(p) {}
    E& operator*() const { return *P; }
    E* operator->() const { return P; }
    TIterator& operator++()
    {
      ++P;
      return *this;
    }
    TIterator operator++(int)
    {
      TIterator old(*this);
      ++P;
      return old;
    }
    TIterator operator+(Integer k) const { return TIterator(P + k); }
    bool operator!=(const TIterator& o) const { return P != o.P; }
    bool operator<(const TIterator& o) const { return P < o.P; }

  private:
    E* P;
  };
  typedef TIterator<TElement> Iterator;
  typedef TIterator<const TElement> ConstIterator;

  // No storage and step 0: every growth gives exactly what is asked for.
  TArrayOf() = default;
  // Storage of Size elements (none yet in use), growing by Capacity.
  TArrayOf(Integer Size, Integer Capacity) : FSize(std::max<Integer>(Size, 0)), FCapacity(Capacity)
  {
    FArray = NewStorage(FSize);
  }
  TArrayOf(std::initializer_list<TElement> items) : TArrayOf(64, 64)
  {
    for (const TElement& x : items)
      Add(x);
  }
  // Storage of exactly the other's used part, the other's step.
  TArrayOf(const TArrayOf& other) : TArrayOf(other.Count, other.FCapacity)
  {
    const Integer n = std::min(other.Used(), FSize);
    for (Integer i = 0; i < n; ++i)
      FArray[i] = other.FArray[i];
    Count = n;
    Current = other.Current;
    N = other.N;
  }
  virtual ~TArrayOf() { FreeMemory(); }

  // Releases the storage and its elements. Count stays; a caller that goes on using the array
  // sets it to 0 first.
  virtual void FreeMemory()
  {
    // Whatever storage the array holds, it allocated itself (nothing attaches foreign
    // storage), so it is released whatever the step.
    delete[] FArray;
    FArray = nullptr;
    FSize = 0;
  }

  // Makes room for at least n elements; never shrinks. With clear, the array is emptied first.
  void SetSize(Integer n, Boolean clear = false)
  {
    if (clear) Count = 0;
    Reserve(n, FCapacity);
  }
  void ReserveSize(Integer n)
  {
    if (FSize < n) SetSize(n);
  }
  void Clear() { Count = 0; }
  Boolean Empty() const { return Count < 1; }
  Integer MaxIndex() const { return Count > 0 ? Count - 1 : 0; }
  Boolean ValidIndex(Integer i) const { return i >= 0 && i < Count; }

  // Element access: indexes are the caller's to check (ValidIndex).
  TElement& operator[](Integer i) { return FArray[i]; }
  const TElement& operator[](Integer i) const { return FArray[i]; }
  // Grows the storage to hold index i first.
  TElement& Item(Integer i)
  {
    if (i >= FSize) SetSize(NextCount(i));
    return FArray[i];
  }
  const TElement& Item(Integer i) const { return FArray[i]; }
  TElement& Last() { return FArray[MaxIndex()]; }
  const TElement& Last() const { return FArray[MaxIndex()]; }
  TElement& Back() { return Last(); }
  const TElement& Back() const { return Last(); }
  TElement& Last2() { return FArray[Count - 2]; }
  const TElement& Last2() const { return FArray[Count - 2]; }

  Iterator begin() { return Iterator(FArray); }
  Iterator end() { return Iterator(FArray + Used()); }
  ConstIterator begin() const { return ConstIterator(FArray); }
  ConstIterator end() const { return ConstIterator(FArray + Used()); }

  void Add(const TElement& x)
  {
    // x may be an element of this array, which growth would move away.
    if (Inside(x)) {
      const TElement copy(x);
      Append(copy);
    } else {
      Append(x);
    }
  }
  // Takes a slot at the end and hands it to the caller to fill.
  TElement& Add()
  {
    if (Count < 0) Count = 0;
    for (;;) {
      if (FSize <= Count) SetSize(NextCount(Count));
      std::lock_guard<std::mutex> lock(mtx);
      if (FArray && Count >= 0 && Count < FSize) return FArray[Count++];
    }
  }
  void Push(const TElement& x) { Add(x); }
  // The former last element; the caller ensures there is one.
  TElement Pop()
  {
    if (Count <= 0 || !FArray || Count > FSize) return TElement();
    --Count;
    return FArray[Count];
  }
  // Inserts x before element i; at or past the end x is appended (at index Count).
  void Insert(Integer i, const TElement& x)
  {
    if (i < 0) return;
    if (i >= Count) {
      Add(x);
      return;
    }
    const TElement value(x); // x may be an element that the shift below overwrites
    if (FSize <= Count) SetSize(NextCount(Count));
    ++Count;
    for (Integer k = Count - 1; k > i; --k)
      FArray[k] = std::move(FArray[k - 1]);
    FArray[i] = value;
  }
  void Delete(Integer i)
  {
    const Integer used = Used();
    if (i < 0 || i >= used) return;
    for (Integer k = i + 1; k < used; ++k)
      FArray[k - 1] = std::move(FArray[k]);
    Count = used - 1;
    // The vacated slot must not keep a second copy of the former last element (a host
    // reference would stay held by the array).
    FArray[Count] = TElement();
  }

  Integer IndexOf(const TElement& x) const
  {
    const Integer used = Used();
    for (Integer i = 0; i < used; ++i)
      if (FArray[i] == x) return i;
    return -1;
  }
  Boolean Exist(const TElement& x) const { return IndexOf(x) != -1; }
  Integer GetCountOf(const TElement& x) const
  {
    Integer n = 0;
    const Integer used = Used();
    for (Integer i = 0; i < used; ++i)
      if (FArray[i] == x) ++n;
    return n;
  }

  // Copies the other's used elements, Current and N; the storage grows when it must, the step
  // stays.
  TArrayOf& operator=(const TArrayOf& other)
  {
    if (this == &other) return *this;
    Count = 0;
    SetSize(other.Count);
    const Integer n = std::min(other.Used(), FSize);
    for (Integer i = 0; i < n; ++i)
      FArray[i] = other.FArray[i];
    Count = n;
    Current = other.Current;
    N = other.N;
    return *this;
  }

  // Sorts elements lo .. hi in place by the element's <; equal elements keep no order.
  void QuickSort(Integer lo, Integer hi)
  {
    if (!FArray) return;
    lo = std::max<Integer>(lo, 0);
    hi = std::min<Integer>(hi, FSize - 1);
    if (lo >= hi) return;
    int depth = 2;
    for (std::int64_t n = std::int64_t(hi) - lo + 1; n > 1; n >>= 1)
      depth += 2;
    SortRange(lo, hi, depth);
  }
  void Sort() { QuickSort(0, Count - 1); }

  // Stream form: int32 FSize, FCapacity, Count, Current, then the elements, each by its own
  // stream operators (toStream) or as its raw bytes (toStream2, for scalar elements).
  void toStream(TKmfData& S) const
  {
    const Integer n = WriteHeader(S);
    for (Integer i = 0; i < n; ++i)
      S << FArray[i];
  }
  void fromStream(TKmfData& S)
  {
    Integer s = 0;
    ReadHeader(S, s, TStreamElementBytes<TElement>::Min);
    // Room for the size stored and no more: the stored step is for the array's later growth, not for
    // what a reader allocates (a damaged file of many arrays would reserve a full step each).
    if (FSize < s) Reserve(s, 0);
    ReadElements(S, [&](TElement& e) { S >> e; });
  }
  void toStream2(TKmfData& S) const
  {
    static_assert(std::is_trivially_copyable_v<TElement>, "raw stream form needs plain elements");
    const Integer n = WriteHeader(S);
    for (Integer i = 0; i < n; ++i)
      S.BlockWrite(&FArray[i], sizeof(TElement));
  }
  void fromStream2(TKmfData& S)
  {
    static_assert(std::is_trivially_copyable_v<TElement>, "raw stream form needs plain elements");
    Integer s = 0;
    ReadHeader(S, s, sizeof(TElement));
    Reserve(s, 0);
    ReadElements(S, [&](TElement& e) {
      if constexpr (std::is_same_v<TElement, bool>) {
        e = S.ReadByte() != 0; // any other byte than 0 or 1 is no bool
      } else {
        S.BlockRead(&e, sizeof(TElement));
      }
    });
  }

  Integer Count = 0;     // elements in use, indexes 0 .. Count - 1
  Integer FSize = 0;     // elements the storage holds
  Integer FCapacity = 0; // growth step
  Integer Current = 0;   // a selected element, kept for the array's users
  Integer N = 0;         // spare, copied with the array, not streamed

protected:
  TElement* FArray = nullptr;
  std::mutex mtx;

private:
  static constexpr Integer MaxSize = std::numeric_limits<Integer>::max();
  // A step read from a stream beyond this is replaced.
  static constexpr Integer MaxStreamStep = 10240;
  // What a stored size keeps reserved when fewer elements follow it: enough for the room a writer set
  // aside, too little for a damaged file of many arrays to allocate without end.
  static constexpr Integer MaxUnbackedSize = 1024;
  static constexpr Integer SubstituteStep = 32;

  // New storage with every element default-constructed (scalars zeroed).
  static TElement* NewStorage(Integer n) { return new TElement[std::size_t(n)](); }
  static Integer NextCount(Integer n)
  {
    if (n >= MaxSize) throw std::length_error("TArrayOf: too many elements");
    return n + 1;
  }
  // Elements that exist and are in use.
  Integer Used() const { return std::clamp<Integer>(Count, 0, FArray ? FSize : 0); }
  bool Inside(const TElement& x) const
  {
    std::less<const TElement*> before;
    return FArray && !before(&x, FArray) && before(&x, FArray + FSize);
  }
  template <class T> void Append(const T& x)
  {
    // The room check runs unlocked (SetSize takes the lock itself), so the store re-checks.
    if (Count < 0) Count = 0;
    for (;;) {
      if (FSize <= Count) SetSize(NextCount(Count));
      std::lock_guard<std::mutex> lock(mtx);
      if (FArray && Count >= 0 && Count < FSize) {
        FArray[Count] = x;
        ++Count;
        return;
      }
    }
  }

  // Writes the header and answers how many elements follow: only those that exist, and the
  // count written says so, so that a reader stays in step with the stream even when Count
  // runs past the storage.
  Integer WriteHeader(TKmfData& S) const
  {
    const Integer n = Used();
    const Integer count = Count < 0 ? Count : n;
    S << FSize << FCapacity << count << Current;
    if (Count < 0 || Count > FSize || FCapacity < 0)
      Messager->LiftBox(DC(TString("ZEDozod::  Ошибка масива при записи потока")), TMessager::toAlways);
    return n;
  }
  // Reads the header into FCapacity, Count and Current, and the writer's size into s, cut to the
  // elements that follow (as many as the bytes left can hold) or a small reserve. The
  // bytes left are no measure of the room itself: every array of a stream would claim the same
  // bytes, and a file of many header-only arrays would reserve its own size many times over.
  void ReadHeader(TKmfData& S, Integer& s, unsigned minBytes)
  {
    S >> s;
    Count = 0;
    S >> FCapacity;
    if (UInteger(FCapacity) > UInteger(MaxStreamStep)) FCapacity = SubstituteStep;
    Integer count = 0;
    S >> count;
    const bool current = S.Version() >= 31;
    if (current) S >> Current;
    const std::int64_t left = std::max<std::int64_t>(S.Remaining(), 0) / std::max(minBytes, 1u);
    const std::int64_t backed = count >= 0 && count <= left ? count : 0;
    s = Integer(std::min<std::int64_t>(s, std::max<std::int64_t>(backed, MaxUnbackedSize)));
    if (!current) Current = 0;
    Count = count;
  }
  // Room for at least n elements, growing by step beyond the present storage; never shrinks.
  void Reserve(Integer n, Integer step)
  {
    if (FArray && FSize >= n) {
      if (n < 0) TDebug::Instance().Output(TString("Караул TArrayOf! "));
      return;
    }
    // The step is added in 64 bits: a large step or size must not wrap to a small storage.
    const std::int64_t want = std::max<std::int64_t>(std::int64_t(FSize) + step, n);
    const Integer size = Integer(std::clamp<std::int64_t>(want, 0, MaxSize));
    std::lock_guard<std::mutex> lock(mtx);
    std::unique_ptr<TElement[]> fresh(NewStorage(size));
    if (FArray) {
      const Integer keep = std::min(Used(), size);
      for (Integer i = 0; i < keep; ++i)
        fresh[i] = std::move(FArray[i]);
      delete[] FArray;
    }
    FArray = fresh.release();
    FSize = size;
  }
  template <class ReadOne> void ReadElements(TKmfData& S, ReadOne readOne)
  {
    if (Count < 0 || Count > FSize || FCapacity < 0 || (Count > 0 && !FArray)) {
      Messager->LiftBox(DC(TString("ZEDozod::  Ошибка чтения потока")), TMessager::toAlways);
      Count = 0;
      return;
    }
    for (Integer i = 0; i < Count; ++i) {
      if (S.EndOfFile()) {
        Count = 0;
        return;
      }
      readOne(FArray[i]);
      if (S.ErrorReadFromFileToBufer) {
        Count = 0;
        return;
      }
    }
  }

  void SortRange(Integer lo, Integer hi, int depth)
  {
    auto less = [](const TElement& a, const TElement& b) { return bool(a < b); };
    using std::swap;
    while (lo < hi) {
      if (--depth < 0) {
        // Inputs that defeat the pivot choice fall back to heap sort, keeping n log n.
        std::make_heap(FArray + lo, FArray + hi + 1, less);
        std::sort_heap(FArray + lo, FArray + hi + 1, less);
        return;
      }
      // Median of three as the pivot; a three-way split keeps runs of equal elements (and
      // sorted input) from degrading into one-element steps.
      const Integer mid = lo + (hi - lo) / 2;
      if (less(FArray[mid], FArray[lo])) swap(FArray[mid], FArray[lo]);
      if (less(FArray[hi], FArray[lo])) swap(FArray[hi], FArray[lo]);
      if (less(FArray[hi], FArray[mid])) swap(FArray[hi], FArray[mid]);
      const TElement pivot(FArray[mid]);
      Integer lt = lo, i = lo, gt = hi;
      while (i <= gt) {
        if (less(FArray[i], pivot))
          swap(FArray[lt++], FArray[i++]);
        else if (less(pivot, FArray[i]))
          swap(FArray[i], FArray[gt--]);
        else
          ++i;
      }
      // Recurse into the smaller side, loop on the larger: the depth stays logarithmic.
      if (lt - lo < hi - gt) {
        SortRange(lo, lt - 1, depth);
        lo = gt + 1;
      } else {
        SortRange(gt + 1, hi, depth);
        hi = lt - 1;
      }
    }
  }
};

// Makes room for `more` further elements of a list whose length is known only once it has been
// read (names or values from a file). The array's own growth adds its fixed step and constructs
// every slot of the new storage (a string allocates a buffer for each), so appending n elements
// one at a time costs about n * n / step constructions: a list of a few hundred thousand names
// took minutes and gigabytes. Growing the room by half of what the array holds keeps such a
// read linear in time and within twice the list in memory; the step stays the array's own.
template <class TElement> void ReserveMore(TArrayOf<TElement>& a, Integer more = 1)
{
  const std::int64_t need = std::int64_t(std::max<Integer>(a.Count, 0)) + std::max<Integer>(more, 0);
  if (need <= a.FSize) return;
  const std::int64_t grown = std::int64_t(a.FSize) + a.FSize / 2;
  a.ReserveSize(Integer(std::min<std::int64_t>(std::max(need, grown), std::numeric_limits<Integer>::max())));
}

// An array of pointers whose objects the array's owner owns. Destroying the array deletes none
// of them: the owner releases them first.
template <class TElement> class TArrayOfP : public TArrayOf<TElement*>
{
  typedef TArrayOf<TElement*> TBase;

public:
  TArrayOfP() : TBase(16, 16) {}
  ~TArrayOfP() override = default;

  // Deletes object i and leaves a null slot.
  void ReleaseItem(Integer i)
  {
    if (!this->ValidIndex(i)) return;
    delete this->FArray[i];
    this->FArray[i] = nullptr;
  }
  // Takes pointer i out of the array without deleting its object.
  TElement* Detach(Integer i)
  {
    if (!this->ValidIndex(i) || !this->FArray) return nullptr;
    TElement* p = this->FArray[i];
    TBase::Delete(i);
    return p;
  }
  // Deletes object i and removes its slot.
  void Delete(Integer i)
  {
    if (!this->ValidIndex(i)) return;
    ReleaseItem(i);
    Detach(i);
  }
};

// The array of strings of name and choice lists.
class TAStr : public TArrayOf<TString>
{
public:
  using TArrayOf<TString>::TArrayOf;
  TAStr() = default;
  TAStr(std::initializer_list<TString> items) : TArrayOf<TString>(items) {}
  ~TAStr() override = default;
};

// A two-field record used as an array element.
template <class T1, class T2> class TPair
{
public:
  typedef TPair<T1, T2> TypePair;

  TPair() : V1(), V2() {}
  TPair(const T1& a, const T2& b) : V1(a), V2(b) {}
  TPair(const TPair& p) : V1(p.V1), V2(p.V2) {}
  TPair& operator=(const TPair& p)
  {
    V1 = p.V1;
    V2 = p.V2;
    return *this;
  }
  virtual ~TPair() = default;

  void Set(const T1& a, const T2& b)
  {
    V1 = a;
    V2 = b;
  }

  T1 V1;
  T2 V2;
};

// Instants of TDebug's step timing.
class TATime : public TArrayOf<TTimePoint>
{
public:
  explicit TATime(Integer Size) : TArrayOf<TTimePoint>(Size, Size) {}
  ~TATime() override = default;
};
