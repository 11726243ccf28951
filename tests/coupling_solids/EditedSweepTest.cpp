// Every coupling over copies of the text base edited one value at a time, as a user may edit it: every
// fastener count 0-9 and 4.5; every value that chooses a row of another table (a pin by its diameter, a
// star by its width, a bolt by its thread, a keyway by the bore, a cross piece and a pin by the torque)
// moved to the next and the previous value of that table and between; every column of the keyway table at
// 0, -1, a non-number and 1e50; every key column out of order; every other length (gaps, chamfers,
// offsets) at 0 and -1; and on the first, middle and last rows every size and length read scaled by 0.8
// and by 1.25. Each edit builds the rows that read the edited value as a section and a view (bore types
// 1/1; scaled rows also 2/2 and 3/4) and in 3D (1/1), and each such case is either sound or refused:
// - refused: every build says one thing, naming a table and a row, and draws, places and writes nothing;
// - sound: every build is made without a word; the drawings are closed and finite with nothing across a
//   fastener, and the 3D assembly evaluates as solids without a fault, every fastener standing in the holes
//   of two parts it joins (the bushes, nuts and washers that travel with it do not count).
// A case built in one mode and refused in another is unsound too. The sweep counts the cases of each
// coupling and lists the unsound ones. CI takes the first row of the quicker couplings; scripts/geometry.sh
// --edits takes every row of every coupling (HXCAD_GEOMETRY_ROWS=all), split into shards
// (HXCAD_EDITED_SHARD=k/n) that run side by side, each writing its cases to HXCAD_EDITED_REPORT.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "../duvozadu/EditedBase.h"
#include "../duvozadu/FastenerDrawing.h"
#include "../duvozadu/StandInFixture.h"
#include "tests/TestNames.h"
#include "txhost/solid/Evaluator.h"

namespace {

const char* const KeywayName = "Шпоночный паз";
// What a user may write where a number belongs.
const char* const NoNumber = "нет";

// A value of one of the coupling's tables (Table, 1 the main one) that chooses a row of another: Factor
// times it is looked up in column Into of table Target.
struct TLookupColumn
{
  int Table, Column;
  const char* Target;
  int Into;
  double Factor = 1;
};

struct TSwept
{
  const char* Key;
  int Row; // in the catalogue
  std::vector<TLookupColumn> Lookups;
  bool Gears = false; // the toothed couplings: their hubs' teeth against their sleeves' are left out
  bool InCI = true;   // whether CI builds its first row in 3D (the others' are many seconds)
};
void PrintTo(const TSwept& s, std::ostream* os)
{
  *os << s.Key;
}

// The bore of every coupling chooses its keyway (column 5, the largest bore of a keyway row).
const TSwept Swept[] = {
    {"muvp", 0, {{1, 14, "МУВП.Палец", 0}, {1, 17, KeywayName, 5}}},
    {"flanged", 1, {{1, 19, "Муфта.Болты фланца", 0}, {1, 1, KeywayName, 5}}, false, false},
    {"star", 2, {{1, 6, "Муфта со звездочкой.Звездочка", 2, 2.0}, {1, 1, KeywayName, 5}}},
    {"toothed", 3, {{1, 19, "Муфта.Болты фланца", 0}, {1, 1, KeywayName, 5}}, true, false},
    {"toothed_flanged", 4, {{1, 19, "Муфта.Болты фланца", 0}, {1, 1, KeywayName, 5}}, true, false},
    {"toroidal", 5, {{1, 5, "Муфта.Болты фланца", 0}, {1, 1, KeywayName, 5}}, false, false},
    {"hinge", 6, {{1, 0, "Муфта шарнирная.Крестовина", 0}, {1, 0, "Муфта шарнирная.Палец", 0}}, false, false},
    {"hinge2",
     7,
     {{1, 0, "Муфта шарнирная.Крестовина", 0}, {1, 0, "Муфта шарнирная.Палец", 0}},
     false,
     false},
    {"jawdisc", 8, {{1, 1, KeywayName, 5}}, false, false},
};

bool EveryEditedRow()
{
  const char* v = std::getenv("HXCAD_GEOMETRY_ROWS");
  return v != nullptr && std::string(v) == "all";
}

// This process's share of the cases: k of n.
std::pair<long, long> Shard()
{
  const char* v = std::getenv("HXCAD_EDITED_SHARD");
  long k = 0, n = 1;
  if (v == nullptr || std::sscanf(v, "%ld/%ld", &k, &n) != 2 || n < 1 || k < 0 || k >= n) return {0, 1};
  return {k, n};
}

// One edit of the base, and the main rows that read what it changed.
struct TEdit
{
  std::string Table;
  int Row, Column;
  std::string Value; // as written
  std::u16string Base;
  std::vector<int> Rows;
  bool Scaled = false; // built with more bore types in 2D
};

// One build: 0 3D, 1 section, 2 view; the bore types (0..3).
struct TBuildOf
{
  int Mode, T1, T2;
};

std::string Number(double v)
{
  char out[64];
  std::snprintf(out, sizeof out, "%.6g", v);
  return out;
}

// Two 64-bit hashes of a build's calls, run side by side.
struct TCalls
{
  std::uint64_t A = 1469598103934665603ull, B = 0x9e3779b97f4a7c15ull;
  void Add(const void* data, std::size_t n)
  {
    for (std::size_t k = 0; k < n; ++k) {
      const unsigned char c = static_cast<const unsigned char*>(data)[k];
      A = (A ^ c) * 1099511628211ull;
      B = (B + c + 1) * 0xff51afd7ed558ccdull;
      B ^= B >> 29;
    }
  }
  void Add(const std::string& s)
  {
    Add(s.size());
    Add(s.data(), s.size());
  }
  template <class T>
  requires std::is_arithmetic_v<T>
  void Add(T v) { Add(&v, sizeof v); }
  void Add(const TCalls& c)
  {
    Add(c.A);
    Add(c.B);
  }
  auto operator<=>(const TCalls&) const = default;
};

class EditedSweep : public StandInCoupling, public ::testing::WithParamInterface<TSwept>
{
protected:
  void TearDown() override
  {
    FitGauge = nullptr;
    Forget();
    ASSERT_TRUE(editedbase::Rebase(HXCAD_DUVOZADU_DATA));
    StandInCoupling::TearDown();
  }

  const TCoupling& Coupling() const { return iCouplings[GetParam().Row]; }

  // The library keeps the tables it read last (the keyway table for as long as it is loaded): a build
  // after an edit reads them anew, as a host that loads the library after the user's edit does.
  static void Forget()
  {
    for (TTable*& t : ATable) {
      delete t;
      t = nullptr;
    }
  }

  bool Use(const std::u16string& base)
  {
    Forget();
    return editedbase::UseBase(Base.path(), base);
  }

  std::unique_ptr<TTable> Read(const std::string& name) const
  {
    return std::unique_ptr<TTable>(TextBase.GetTable(TString(name.c_str())));
  }

  // The tables an edit may touch: the coupling's own, and the keyway table.
  std::vector<std::string> Tables() const
  {
    std::vector<std::string> out;
    for (int i = 1; Coupling().LTable[i]; ++i)
      out.push_back(Coupling().LTable[i]);
    out.push_back(KeywayName);
    return out;
  }

  // A refusal names a table of the coupling and a row.
  bool NamesTableAndRow(const std::string& text) const
  {
    const std::vector<std::string> tables = Tables();
    const std::string word = "строка ";
    const std::size_t row = text.find(word), at = row + word.size();
    return row != std::string::npos && at < text.size() && std::isdigit((unsigned char)text[at]) &&
           std::any_of(tables.begin(), tables.end(),
                       [&](const std::string& t) { return text.find(t) != std::string::npos; });
  }

  // Every call of a build to the modeller, its arguments bit for bit, as a hash: what the dependency of a row
  // on a value is judged by, and whether a 3D build is the shipped row's. Formatting each number to hash it
  // took more of the sweep than the drawings did.
  TCalls Recorded(double m, double d, int mode, int t1, int t2)
  {
    SetCouplingModeler(&M);
    Model(m, d, d, t1, t2);
    M.Reset();
    Log.Texts.clear();
    TCalls all;
    all.Add(Couplings.drCoupling(Coupling().Name, mode));
    for (const auto& c : M.Calls) {
      all.Add(c.Op);
      all.Add(c.A.size());
      for (double v : c.A)
        all.Add(v);
      all.Add(c.S.size());
      for (const auto& t : c.S)
        all.Add(t.Utf8Text());
    }
    SetCouplingModeler(&drApi::MA);
    return all;
  }

  // The main rows whose drawings change when row `row` of the table has its values (but those rows are
  // looked up by) a little larger: the rows that read it.
  std::vector<int> Readers(const std::string& table, int row, const std::vector<int>& keys,
                           const std::vector<int>& mains)
  {
    std::unique_ptr<TTable> main = Read(Coupling().LTable[1]), t = Read(table);
    std::vector<int> out;
    if (!main || !t) return out;
    auto drawings = [&](int i) {
      TCalls all;
      for (int mode : {1, 2})
        for (auto [t1, t2] : {std::pair{0, 0}, {2, 3}})
          all.Add(Recorded(main->Row(i)[0], main->Row(i)[main->Control], mode, t1, t2));
      return all;
    };
    // The shipped base's drawings are the same for every row of every table asked about.
    if (ShippedOf != mains) {
      ShippedDrawings.clear();
      for (int i : mains)
        ShippedDrawings.push_back(drawings(i));
      ShippedOf = mains;
    }
    const std::vector<TCalls>& before = ShippedDrawings;
    std::u16string base = editedbase::Shipped();
    for (int c = 0; c < t->CountColumn; ++c)
      if (std::find(keys.begin(), keys.end(), c) == keys.end())
        base = editedbase::Edited(base, table, c, row, [](double v) { return v * 1.01; });
    EXPECT_TRUE(Use(base));
    for (std::size_t k = 0; k < mains.size(); ++k)
      if (drawings(mains[k]) != before[k]) out.push_back(mains[k]);
    EXPECT_TRUE(Use(editedbase::Shipped()));
    return out;
  }

  // The key columns of a table: those rows are chosen by.
  std::vector<int> KeysOf(const std::string& table) const
  {
    std::set<int> keys;
    for (int i = 1; Coupling().LTable[i]; ++i)
      if (table == Coupling().LTable[i])
        for (int c : Coupling().Reads[i - 1].Keys)
          keys.insert(c);
    for (const TLookupColumn& l : GetParam().Lookups)
      if (table == l.Target) keys.insert(l.Into);
    if (table == KeywayName) keys.insert({0, 5});
    std::unique_ptr<TTable> main = Read(Coupling().LTable[1]);
    if (main && table == Coupling().LTable[1]) keys.insert(main->Control);
    return {keys.begin(), keys.end()};
  }

  // Every edit of the sweep, with the main rows each is built on.
  std::vector<TEdit> Edits()
  {
    std::vector<TEdit> edits;
    const std::u16string shipped = editedbase::Shipped();
    std::unique_ptr<TTable> main = Read(Coupling().LTable[1]);
    if (!main) return edits;
    const int rows = main->CountRow;
    std::vector<int> mains;
    for (int i = 0; i < (EveryEditedRow() ? rows : 1); ++i)
      mains.push_back(i);
    const std::vector<int> ends = EveryEditedRow() ? std::vector<int>{0, rows / 2, rows - 1} : mains;
    // Which main rows read each row of every other table.
    std::map<std::pair<std::string, int>, std::vector<int>> readers;
    // CI edits the main table alone: its lookups reach the others.
    const bool others = EveryEditedRow();
    for (const std::string& name : Tables()) {
      if (!others && name != Coupling().LTable[1]) continue;
      std::unique_ptr<TTable> t = Read(name);
      if (!t) continue;
      for (int r = 0; r < t->CountRow; ++r)
        readers[{name, r}] =
            name == Coupling().LTable[1] ? std::vector<int>{r} : Readers(name, r, KeysOf(name), mains);
    }
    // The edited base is made only for an edit some row is built on: most scaled rows are none of the ends.
    auto add = [&](const std::string& table, int row, int col, const std::string& value,
                   const std::function<std::u16string()>& edited, bool scaled = false) {
      // A row of another table is built on the first main row that reads it (scaled: on each end that does).
      const std::vector<int>& on = readers[{table, row}];
      std::vector<int> built;
      for (int i : on)
        if (std::find(mains.begin(), mains.end(), i) != mains.end() &&
            (!scaled || std::find(ends.begin(), ends.end(), i) != ends.end()) && (scaled || built.empty()))
          built.push_back(i);
      if (built.empty()) return;
      std::u16string base = edited();
      if (base.empty()) return;
      edits.push_back({table, row, col, value, std::move(base), built, scaled});
    };
    auto number = [&](const std::string& table, int row, int col, double v, bool scaled = false) {
      add(
          table, row, col, Number(v),
          [&] { return editedbase::Edited(shipped, table, col, row, [&](double) { return v; }); }, scaled);
    };
    for (int i = 1; Coupling().LTable[i] && (others || i == 1); ++i) {
      const std::string name = Coupling().LTable[i];
      std::unique_ptr<TTable> t = Read(name);
      if (!t) continue;
      const TColumnReads& reads = Coupling().Reads[i - 1];
      const std::vector<int> keys = KeysOf(name);
      for (int r = 0; r < t->CountRow; ++r) {
        const double* row = t->Row(r);
        // Counts of pieces round a circle.
        for (int c : reads.Counts)
          for (double v : {0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 4.5})
            if (v != row[c]) number(name, r, c, v);
        // Other lengths at none and below none.
        for (int c : reads.Others)
          for (double v : {0.0, -1.0})
            if (v != row[c]) number(name, r, c, v);
        // Keys out of order: a row's key and the next one's exchanged.
        for (int c : keys)
          if (r + 1 < t->CountRow && t->Row(r + 1)[c] != row[c]) {
            const double a = row[c], b = t->Row(r + 1)[c];
            const std::size_t before = edits.size();
            add(name, r, c, "exchanged with row " + std::to_string(r + 2), [&] {
              const std::u16string base = editedbase::Edited(shipped, name, c, r, [&](double) { return b; });
              return editedbase::Edited(base, name, c, r + 1, [&](double) { return a; });
            });
            // Both main rows read the exchanged values.
            if (i == 1 && edits.size() > before && r + 1 < rows &&
                std::find(mains.begin(), mains.end(), r + 1) != mains.end())
              edits.back().Rows.push_back(r + 1);
          }
        // Scaled sizes and lengths.
        std::set<int> lengths(reads.Sizes.begin(), reads.Sizes.end());
        lengths.insert(reads.Others.begin(), reads.Others.end());
        for (int c : lengths)
          for (double f : {0.8, 1.25})
            add(
                name, r, c, Number(row[c]) + " x " + Number(f),
                [&] { return editedbase::Edited(shipped, name, c, r, [&](double v) { return v * f; }); },
                true);
      }
    }
    // Lookups by value: the next and the previous value of the table looked in, and one between.
    for (const TLookupColumn& l : GetParam().Lookups) {
      const std::string name = Coupling().LTable[l.Table];
      std::unique_ptr<TTable> t = Read(name), target = Read(l.Target);
      if (!t || !target) continue;
      std::set<double> values;
      for (int k = 0; k < target->CountRow; ++k)
        values.insert(target->Row(k)[l.Into]);
      for (int r = 0; r < t->CountRow; ++r) {
        const double at = t->Row(r)[l.Column] * l.Factor;
        const auto next = values.upper_bound(at);
        const auto below = values.lower_bound(at);
        std::vector<double> moved;
        if (next != values.end()) moved.push_back(*next);
        if (below != values.begin()) moved.push_back(*std::prev(below));
        if (next != values.end()) moved.push_back((at + *next) / 2);
        for (double v : moved)
          number(name, r, l.Column, v / l.Factor);
      }
    }
    // The keyway table's columns at none, below none, no number and huge.
    const std::u16string noNumber = editedbase::Utf16(NoNumber);
    if (std::unique_ptr<TTable> k = others ? Read(KeywayName) : nullptr)
      for (int r = 0; r < k->CountRow; ++r)
        for (int c = 0; c < k->CountColumn; ++c) {
          for (double v : {0.0, -1.0, 1e50})
            number(KeywayName, r, c, v);
          add(KeywayName, r, c, NoNumber, [&] {
            return editedbase::EditedText(shipped, KeywayName, c, r, [&](double) { return noNumber; });
          });
        }
    return edits;
  }

  // What is wrong with a 2D build that was made: empty when nothing.
  std::string Unsound2D(int mode)
  {
    using namespace fastenerdrawing;
    std::ostringstream why;
    if (!Log.Texts.empty()) why << "built, saying \"" << Log.Texts.front() << "\"; ";
    if (const auto sound = DrawingSound(M); !sound) why << sound.message() << "; ";
    if (mode == 1)
      if (const auto clear = NoHatchAcrossFasteners(M, Regions(M), 0.0); !clear)
        why << clear.message() << "; ";
    if (const auto clear = NoLineAcrossFasteners(M, mode == 2); !clear) why << clear.message() << "; ";
    if (mode == 2)
      if (const auto clear = NoShankInsideItsNut(M); !clear) why << clear.message() << "; ";
    return why.str();
  }

  static bool Named(const txhost::solid::TPlaced& p, const char* word)
  {
    return p.Name.starts_with(word) && p.Name.size() > std::strlen(word) && p.Name[std::strlen(word)] == '-';
  }

  // What is wrong with the 3D assembly built: its faults as solids, its components' clashes (the toothed
  // couplings' hubs against their sleeves left out: minutes of modelling for each) and the fasteners not
  // standing in two parts they join.
  std::string Unsound3D()
  {
    std::ostringstream why;
    if (!Log.Texts.empty()) why << "built, saying \"" << Log.Texts.front() << "\"; ";
    txhost::Object* doc = H.OpenDocument(ControlModel.Detail3D(0).Utf8Text(), false);
    if (!doc) return why.str() + "no assembly to open";
    if (!Evaluator || ++Evaluations > 150) {
      // What it keeps grows with every part it has seen.
      Evaluator = std::make_unique<txhost::solid::TEvaluator>(H);
      Memo = std::make_unique<txhost::solid::TCheckMemo>();
      Evaluations = 0;
    }
    txhost::solid::TDocumentResult r;
    std::string error;
    if (!Evaluator->Evaluate(*doc, r, error, false)) {
      H.CloseDocument(*doc);
      return why.str() + "not evaluated: " + error;
    }
    for (const std::string& f : txhost::solid::TEvaluator::Faults(r))
      why << f << "; ";
    // Two checks that between them meet every pair but a hub and a sleeve.
    const bool gears = GetParam().Gears;
    std::vector<std::vector<std::size_t>> subsets(gears ? 2 : 1);
    for (std::size_t k = 0; k < r.Placed.size(); ++k) {
      const bool hub = gears && (Named(r.Placed[k], "Полумуфта") || Named(r.Placed[k], "Полумуфта2"));
      const bool sleeve = gears && Named(r.Placed[k], "Обойма");
      if (!hub) subsets[0].push_back(k);
      if (gears && !sleeve) subsets[1].push_back(k);
    }
    std::set<std::pair<std::size_t, std::size_t>> clashes, seats;
    for (const auto& subset : subsets) {
      std::vector<txhost::solid::TPlaced> placed;
      for (std::size_t k : subset)
        placed.push_back(r.Placed[k]);
      txhost::solid::TCheckOptions options;
      options.Memo = Memo.get();
      const txhost::solid::TAssemblyResult checked = txhost::solid::CheckAssembly(placed, options);
      for (const txhost::solid::TClash& c : checked.Clashes)
        if (clashes.insert({subset[c.A], subset[c.B]}).second)
          why << "clash: " << placed[c.A].Name << " and " << placed[c.B].Name << " share " << Number(c.Volume)
              << " mm3; ";
      for (const txhost::solid::TUnchecked& u : checked.Unchecked)
        why << "not checked: " << placed[u.A].Name << " and " << placed[u.B].Name << "; ";
      for (const txhost::solid::TSeat& s : checked.Seats)
        seats.insert({subset[s.Fastener], subset[s.Part]});
    }
    // A fastener joins parts: the bushes, nuts and washers that travel with it seat it in nothing.
    auto travels = [](const std::string& name) {
      return name.starts_with("Втулка") || name.starts_with("Гайка") || name.starts_with("Шайба");
    };
    for (std::size_t f = 0; f < r.Placed.size(); ++f) {
      if (!r.Placed[f].Fastener || !r.Placed[f].Shape) continue;
      int joined = 0;
      for (const auto& [fastener, part] : seats)
        if (fastener == f && !travels(r.Placed[part].Name)) ++joined;
      if (joined < 2) why << r.Placed[f].Name << " stands in the holes of " << joined << " parts it joins; ";
    }
    H.CloseDocument(*doc);
    return why.str();
  }

  // One case: the edit's base built on main row i in every build. "sound", "refused", or why it is
  // unsound.
  std::string Judge(const TEdit& e, int i)
  {
    std::unique_ptr<TTable> main = Read(Coupling().LTable[1]);
    if (!main) return "refused"; // a main table that cannot be read at all is judged by the builds below
    const double* A = i < main->CountRow ? main->Row(i) : nullptr;
    std::vector<TBuildOf> builds{{1, 0, 0}, {2, 0, 0}};
    if (e.Scaled)
      for (auto [t1, t2] : {std::pair{1, 1}, {2, 3}})
        for (int mode : {1, 2})
          builds.push_back({mode, t1, t2});
    if (GetParam().InCI || EveryEditedRow()) builds.push_back({0, 0, 0});
    int refused = 0, built = 0;
    std::string why, overlap;
    for (const TBuildOf& b : builds) {
      const std::string which = std::string(b.Mode == 0   ? "3D"
                                            : b.Mode == 1 ? "section"
                                                          : "view") +
                                " " + std::to_string(b.T1 + 1) + "/" + std::to_string(b.T2 + 1) + ": ";
      // The row's torque and bore as the edited table holds them (an unreadable one: the shipped row's).
      const double m = A ? A[0] : 0, d = A ? A[main->Control] : 0;
      Afresh(b.Mode, m, d, d, b.T1, b.T2);
      // A 3D build that makes the calls of the shipped row, or of one judged before, is judged as that was.
      TCalls calls;
      if (b.Mode == 0) {
        calls = Recorded(m, d, 0, b.T1, b.T2);
        Model(m, d, d, b.T1, b.T2);
        const auto known = Judged.find(calls);
        if (known != Judged.end()) {
          ++built;
          if (!known->second.empty() && why.empty()) why = which + known->second;
          continue;
        }
        Log.Texts.clear();
      }
      Gauged = {-1, 0.0};
      FitGauge = [](int wall, double clear) { Gauged = {wall, clear}; };
      const bool made = Couplings.drCoupling(Coupling().Name, b.Mode);
      FitGauge = nullptr;
      std::string fault;
      if (!made) {
        ++refused;
        if (Log.Texts.size() == 1 && Gauged.first >= 0 && !FitWalls[Gauged.first].Through &&
            Gauged.second < -1e-6)
          overlap = Log.Texts.front();
        bool written = false;
        std::error_code ec;
        for (const auto& f : std::filesystem::directory_iterator(Dir.path(), ec))
          written = written || f.is_regular_file();
        if (Log.Texts.size() != 1 || !NamesTableAndRow(Log.Texts.front()))
          fault = "refused saying " + ::testing::PrintToString(Log.Texts) + "; ";
        if (b.Mode != 0 && !M.Calls.empty())
          fault += "refused, having drawn " + std::to_string(M.Calls.size()) + " calls; ";
        if (b.Mode == 0 && written) fault += "refused, having written files; ";
      } else {
        ++built;
        fault = b.Mode == 0 ? Unsound3D() : Unsound2D(b.Mode);
        if (b.Mode == 0) Judged[calls] = fault;
      }
      SetCouplingModeler(&drApi::MA);
      if (!fault.empty() && why.empty()) why = which + fault;
    }
    if (refused > 0 && built > 0 && why.empty())
      why = std::to_string(built) + " builds made and " + std::to_string(refused) + " refused";
    if (built == 0 && why.empty() && !overlap.empty()) why = OverlapShown(overlap);
    return !why.empty() ? why : built == 0 ? "refused" : "sound";
  }

  // A refusal for pieces that overlap: the builder run anyway on the main row it names makes something unsound
  // (as solids, or in a section or view), both halves of that row or one of another row of its torque group,
  // each of either length of hub and either bore. Empty when it does, else why the refusal was wrong.
  std::string OverlapShown(const std::string& said)
  {
    const std::string word = "строка ";
    const std::size_t at = said.find(word);
    std::unique_ptr<TTable> main = Read(Coupling().LTable[1]);
    if (at == std::string::npos || !main) return {};
    const int row = std::atoi(said.c_str() + at + word.size()) - 1;
    if (row < 0 || row >= main->CountRow) return {};
    const double* A = main->Row(row);
    std::vector<std::pair<double, double>> bores{{A[main->Control], A[main->Control]}};
    for (int q = 0; q < main->CountRow; ++q)
      if (q != row && main->Row(q)[0] == A[0])
        for (const auto& pair : {std::pair{A[main->Control], main->Row(q)[main->Control]},
                                 std::pair{main->Row(q)[main->Control], A[main->Control]}})
          bores.push_back(pair);
    for (const auto& [d1, d2] : bores)
      for (const auto& [t1, t2] : {std::pair{0, 0}, {1, 1}, {2, 3}, {3, 2}})
        if (Overlaps(A[0], d1, d2, t1, t2)) return {};
    return "refused (" + said + "), but its row built anyway checks clean";
  }

  // Before a build of a mode (0 3D, 1 section, 2 view): the model's torque, shafts and bore types, no
  // message, a 2D build drawn into the recording modeller, and no file in the documents folder.
  void Afresh(int mode, double m, double d1, double d2, int t1, int t2)
  {
    Model(m, d1, d2, t1, t2);
    Log.Texts.clear();
    if (mode != 0) {
      SetCouplingModeler(&M);
      M.Reset();
    }
    std::error_code ec;
    for (const auto& f : std::filesystem::directory_iterator(Dir.path(), ec))
      std::filesystem::remove_all(f.path(), ec);
  }

  // The builders run without the rules on the tables as they stand: whether what one builds is unsound.
  bool Overlaps(double m, double d1, double d2, int t1, int t2)
  {
    bool unsound = false;
    for (int mode : {1, 2, 0}) {
      Afresh(mode, m, d1, d2, t1, t2);
      MakeUnchecked(GetParam().Row, mode);
      unsound = !(mode == 0 ? Unsound3D() : Unsound2D(mode)).empty();
      SetCouplingModeler(&drApi::MA);
      Forget();
      if (unsound) break;
    }
    return unsound;
  }

  txhost::test::TempDir Base;
  // The clearance the rules measured last, which a refusal for one is said for: its wall and figure.
  static inline std::pair<int, double> Gauged{-1, 0.0};
  // What each 3D build made so far was found to be (empty: sound), by the calls it made.
  std::map<TCalls, std::string> Judged;
  // The drawings of the main rows ShippedOf on the shipped base (see Readers).
  std::vector<int> ShippedOf;
  std::vector<TCalls> ShippedDrawings;
  std::unique_ptr<txhost::solid::TEvaluator> Evaluator;
  // What the clash checks worked out, for the parts the evaluator keeps: an edit changes a part or two, and
  // the pairs of the others are the row's before.
  std::unique_ptr<txhost::solid::TCheckMemo> Memo;
  int Evaluations = 0;
};

// The counts of one run, per coupling: sound, refused and unsound cases, and each unsound one.
struct TTally
{
  long Sound = 0, Refused = 0, Unsound = 0;
};

TEST_P(EditedSweep, EveryEditIsSoundOrRefused)
{
  const TSwept& s = GetParam();
  const auto [shard, shards] = Shard();
  const std::vector<TEdit> edits = Edits();
  ASSERT_FALSE(edits.empty());
  const char* file = std::getenv("HXCAD_EDITED_REPORT");
  std::ofstream report;
  if (file != nullptr) report.open(file, std::ios::app);
  std::vector<std::pair<const TEdit*, int>> cases;
  for (const TEdit& e : edits)
    for (int i : e.Rows)
      cases.push_back({&e, i});
  if (std::getenv("HXCAD_EDITED_LIST") != nullptr) {
    // Only what the sweep would build: how many cases (to plan shards by).
    std::printf("%s: %zu edits, %zu cases\n", s.Key, edits.size(), cases.size());
    return;
  }
  // CI: a few cases spread over the whole sweep of the first row.
  const std::size_t stride = EveryEditedRow() ? 1 : std::max<std::size_t>(1, cases.size() / 3);
  std::vector<std::size_t> mine;
  for (std::size_t index = 0; index < cases.size(); index += stride)
    if (long(index / stride) % shards == shard) mine.push_back(index);
  // The cases built on one row one after the other: an edit changes a part or two of the row's, and the
  // others' solids and clash checks are kept from the case before.
  std::stable_sort(mine.begin(), mine.end(),
                   [&](std::size_t a, std::size_t b) { return cases[a].second < cases[b].second; });
  TTally tally;
  for (const std::size_t index : mine) {
    {
      const TEdit& e = *cases[index].first;
      const int i = cases[index].second;
      const std::string where = std::string(s.Key) + "\t" + e.Table + "\trow " + std::to_string(e.Row + 1) +
                                "\tcolumn " + std::to_string(e.Column) + "\t" + e.Value + "\tbuilt on row " +
                                std::to_string(i + 1);
      // Which case a long run is at.
      std::fprintf(stderr, "case %zu: %s\n", index, where.c_str());
      // A base not taken is this case's fault alone: the coupling's other cases still run, and the script
      // counts every case.
      const std::string verdict = Use(e.Base) ? Judge(e, i) : "the edited base was not taken";
      if (report.is_open()) report << where << "\t" << verdict << "\n" << std::flush;
      if (verdict == "sound")
        ++tally.Sound;
      else if (verdict == "refused")
        ++tally.Refused;
      else {
        ++tally.Unsound;
        ADD_FAILURE() << where << ": " << verdict;
      }
    }
  }
  std::printf("%s: %ld sound, %ld refused, %ld unsound\n", s.Key, tally.Sound, tally.Refused, tally.Unsound);
}

INSTANTIATE_TEST_SUITE_P(Couplings, EditedSweep, ::testing::ValuesIn(Swept), hxcad::test::CaseNames());

} // namespace
