// The host's documents as solids, through the features' placed forms.
#include "txhost/solid/Evaluator.h"
#include "txhost/solid/Shape.h"

#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/FileInput.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Placement3D.h"

#include "txapi/Enums.h"

#include <Standard_Failure.hxx>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <ostream>
#include <sstream>
#include <system_error>

namespace txhost::solid {

namespace {

constexpr std::size_t MaxAssemblyDepth = 16;
constexpr std::size_t MaxComponents = 10000;
// How far from the origin a component may stand (1000 km): what the modeller still places exactly.
constexpr double MaxReach = 1e9;
// The processor time a check of an assembly's components may take: the largest shipped coupling, its gears
// meshing with a backlash, takes a few seconds.
constexpr double CheckSeconds = 60;

bool SolidType(int type)
{
  return type == txapi::o3d_bossExtrusion || type == txapi::o3d_cutExtrusion || type == txapi::o3d_bossRotated ||
         type == txapi::o3d_cutRotated;
}

// The part's solid features in order, with their placed forms.
std::vector<std::pair<const Object*, place::Placed>> SolidFeatures(const Object& part)
{
  std::vector<std::pair<const Object*, place::Placed>> out;
  for (const Object* m : model::LiveMembers(part))
    if (std::optional<place::Placed> p = place::PlacedOf(*m); p && SolidType(p->Type)) out.emplace_back(m, *p);
  return out;
}

TVec3 Vec(const place::Vec3& v) { return {v[0], v[1], v[2]}; }

TFeature Feature(const place::Placed& p)
{
  TFeature f;
  f.Shape = p.Kind == "rotated" ? TFeature::Rotation : TFeature::Extrusion;
  f.Cut = p.Cut;
  f.Kind = p.Kind;
  f.Frame = {Vec(p.Sketch.O), Vec(p.Sketch.U), Vec(p.Sketch.V), Vec(p.Sketch.N)};
  for (const place::Loop& l : p.Loops) {
    TLoop loop;
    for (const place::Curve& c : l.Curves) {
      TCurve2 k;
      k.Kind = c.K == place::Curve::Kind::Line ? TCurve2::Line
               : c.K == place::Curve::Kind::Arc ? TCurve2::Arc
                                                 : TCurve2::Circle;
      k.X1 = c.A[0], k.Y1 = c.A[1], k.X2 = c.B[0], k.Y2 = c.B[1];
      k.Xc = c.C[0], k.Yc = c.C[1], k.R = c.R, k.Clockwise = c.Clockwise;
      loop.push_back(k);
    }
    f.Loops.push_back(std::move(loop));
  }
  f.From = p.Sweep.From;
  f.To = p.Sweep.To;
  f.Grow = place::TaperShift(p.Taper, p.TaperOutward, 1.0);
  f.AxisPoint = Vec(p.AxisPoint);
  f.AxisDir = Vec(p.AxisDir);
  f.Angle = p.Angle;
  return f;
}

// Everything that makes a feature's solid, byte for byte: two features that give one key build one solid.
// The placed record alone leaves the profile out (two rings of one outer circle and box, bored to other
// shafts, kept one), so the key is made of what the modeller is handed.
class TKey
{
public:
  void Put(double v) { Bytes.append(reinterpret_cast<const char*>(&v), sizeof v); }
  void Put(std::size_t n) { Bytes.append(reinterpret_cast<const char*>(&n), sizeof n); }
  void Put(const TVec3& v)
  {
    for (double c : v)
      Put(c);
  }
  void Put(const std::string& text)
  {
    Put(text.size());
    Bytes += text;
  }
  void Put(const TFeature& f)
  {
    Put(std::size_t(f.Shape) * 2 + std::size_t(f.Cut));
    Put(f.Kind);
    for (const TVec3* v : {&f.Frame.Origin, &f.Frame.U, &f.Frame.V, &f.Frame.N, &f.AxisPoint, &f.AxisDir})
      Put(*v);
    for (double v : {f.From, f.To, f.Grow, f.Angle})
      Put(v);
    Put(f.Loops.size());
    for (const TLoop& loop : f.Loops) {
      Put(loop.size());
      for (const TCurve2& c : loop) {
        Put(std::size_t(c.Kind) * 2 + std::size_t(c.Clockwise));
        for (double v : {c.X1, c.Y1, c.X2, c.Y2, c.Xc, c.Yc, c.R})
          Put(v);
      }
    }
  }
  std::string Bytes;
};

std::string NameOf(const Object& o)
{
  for (const char* key : {"name", "sourceName"}) {
    const Value& v = o.Prop(key);
    if (v.is_string() && !v.get<std::string>().empty()) return v.get<std::string>();
  }
  return "#" + std::to_string(o.Id());
}

std::array<double, 12> Twelve(const place::Matrix& m)
{
  return {m.X[0], m.X[1], m.X[2], m.Y[0], m.Y[1], m.Y[2], m.Z[0], m.Z[1], m.Z[2], m.O[0], m.O[1], m.O[2]};
}

place::Matrix Compose(const place::Matrix& outer, const place::Matrix& inner)
{
  place::Matrix m;
  m.X = outer.Direction(inner.X);
  m.Y = outer.Direction(inner.Y);
  m.Z = outer.Direction(inner.Z);
  m.O = outer.Point(inner.O);
  return m;
}

std::string Number(double v)
{
  char b[32];
  std::snprintf(b, sizeof b, "%.3f", v);
  return b;
}

// What the time left of a part unmade.
std::string NotWorkedOut(const TPartResult& p)
{
  const TFeatureResult& f = p.Features[p.FirstLate];
  return "not worked out: its features from " + f.Kind + " " + std::to_string(p.FirstLate) + " on (" +
         std::to_string(p.Late) + " of " + std::to_string(p.Features.size()) + "): the " + Number(p.Seconds) +
         " s of modelling ran out";
}

bool AnyLate(const TDocumentResult& r)
{
  return std::any_of(r.Parts.begin(), r.Parts.end(), [](const auto& p) { return p->Late > 0; });
}

// What the bound on the clash check's work left unchecked.
std::string LeftOver(const TDocumentResult& r)
{
  const TAssemblyResult& c = *r.Checked;
  return std::to_string(c.LeftOver) + " pairs of components whose boxes meet, from " +
         r.Placed[c.FirstLeftOver.A].Name + " (" + std::to_string(c.FirstLeftOver.A) + ") and " +
         r.Placed[c.FirstLeftOver.B].Name + " (" + std::to_string(c.FirstLeftOver.B) + ") on: " +
         (c.Worked < c.Bound ? "the check's "
                             : "the check works out " + std::to_string(c.Bound) + " pairs at most" +
                                   (c.TimedOut ? ", and its " : "")) +
         (c.TimedOut ? Number(c.Seconds) + " s of modelling ran out" : "");
}

struct TLeaf
{
  std::string Name;
  const Object* Part = nullptr;
  place::Matrix M;
};

// A file's name as it is named on every way to it (links and ".." resolved where the file exists).
std::filesystem::path OneName(const std::filesystem::path& path)
{
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
  return ec ? path.lexically_normal() : canonical;
}

// The file a component names; empty for none.
std::filesystem::path FileOf(const Object& component)
{
  const Value& file = component.Prop("file");
  return file.is_string() && !file.get<std::string>().empty() ? OneName(file.get<std::string>())
                                                              : std::filesystem::path();
}

// Why the file at `at` of the files on the way down cannot be walked again: it holds itself, directly or
// through the files after it.
std::string SelfReference(const std::vector<std::filesystem::path>& files,
                          std::vector<std::filesystem::path>::const_iterator at)
{
  std::string text = at->string() + " refers to itself";
  for (auto through = at + 1; through != files.end(); ++through)
    text += (through == at + 1 ? " through " : ", ") + through->string();
  return text;
}

// A component's placement when it is a rigid motion (a turn, maybe mirrored, and a shift within reach);
// none with the reason otherwise. Without a placement a component stands where its part does.
std::optional<place::Matrix> Placement(const Object& component, std::string& why)
{
  const Value& p = component.Prop("placement");
  if (p.is_null()) return place::Matrix{};
  std::vector<double> values;
  if (p.is_array())
    for (const Value& v : p)
      values.push_back(v.is_number() ? v.get<double>() : NAN);
  const std::optional<place::Matrix> m = place::MatrixOf(values);
  if (!m) {
    why = "its placement is not 16 finite numbers";
    return std::nullopt;
  }
  constexpr double Tolerance = 1e-6;
  const place::Vec3* rows[] = {&m->X, &m->Y, &m->Z};
  for (int a = 0; a < 3; ++a)
    for (int b = a; b < 3; ++b)
      if (!(std::abs(place::Dot(*rows[a], *rows[b]) - (a == b ? 1.0 : 0.0)) <= Tolerance)) {
        why = "its placement is no rigid motion (its axes are not of unit length and square to each other)";
        return std::nullopt;
      }
  for (double o : m->O)
    if (!(std::abs(o) <= MaxReach)) {
      why = "its placement puts it more than 1000 km from the origin";
      return std::nullopt;
    }
  return m;
}

// Whether a file can be written at the name, as far as can be told before writing it: its folder is one
// this process may make files in, and what stands at the name, if anything, is a regular file. False with
// the reason, worded as the write would word it.
bool Writable(const std::filesystem::path& file, std::string& error)
{
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  const std::string name = file.filename().string();
  auto fail = [&](const std::string& why) {
    error = "cannot write " + file.string() + ": " + why;
    return false;
  };
  struct stat st
  {
  };
  if (name.empty() || name == "." || name == "..") return fail("a folder is in the way");
  if (::stat(folder.c_str(), &st) != 0)
    return fail(errno == ENOENT ? "no such folder" : std::strerror(errno));
  if (!S_ISDIR(st.st_mode)) return fail("its folder " + folder.string() + " is not a folder");
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return fail(std::strerror(errno));
  if (::lstat(file.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return fail("a folder is in the way");
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return fail("not a regular file");
  }
  return true;
}

} // namespace

namespace {

// Whether the library recorded the mark with its own data of the part's document ("ZEDozod").
bool Marked(const Object& part, const char* mark)
{
  const Object* document = part.Document();
  if (document == nullptr) return false;
  for (const Object* storages : model::LiveMembers(*document, "user-storages"))
    for (const Object* s : model::LiveMembers(*storages, "user-storage"))
      if (s->Text("name") == L"ZEDozod" && s->Prop("values").is_object() && s->Prop("values").contains(mark))
        return true;
  return false;
}

} // namespace

bool MustBeSeated(const Object& part)
{
  return Marked(part, "Fastener");
}

bool TravelsWithFastener(const Object& part)
{
  return Marked(part, "FastenerPiece");
}

struct TEvaluator::TState
{
  Host& H;
  std::map<std::string, std::shared_ptr<const TPartResult>> Parts;          // by their placed features
  std::map<std::string, std::shared_ptr<const TAssemblyResult>> Assemblies; // by their leaves
  struct TRead
  {
    std::int64_t Time = 0; // nanoseconds
    std::uint64_t Size = 0;
    ObjectId Document = 0; // by identifier: the host frees a document read for nobody in time
  };
  // Component sources read from their files, by the files' identity (device and inode): a file named by many
  // spellings of its path ("dir/./a", "dir/../dir/a", a link) is read and kept once.
  std::map<std::pair<std::uint64_t, std::uint64_t>, TRead> Files;
  int Modelled = 0;
  std::ostream* Progress = nullptr;
  double Seconds = CheckSeconds;

  explicit TState(Host& h) : H(h) {}

  // The budget of an evaluation that starts now.
  TLimits Limits() const
  {
    TLimits limits;
    limits.Seconds = Seconds;
    limits.Started = ProcessorSeconds();
    limits.Progress = Progress;
    return limits;
  }

  std::shared_ptr<const TPartResult> Part(const Object& part, const TLimits& limits)
  {
    TKey key;
    std::vector<TFeature> features;
    for (const auto& [o, p] : SolidFeatures(part)) {
      features.push_back(Feature(p));
      key.Put(features.back());
    }
    auto& slot = Parts[key.Bytes];
    if (!slot) {
      slot = std::make_shared<const TPartResult>(
          BuildPart(features, limits, "features of " + NameOf(part) + " built:"));
      ++Modelled;
    }
    return slot;
  }

  // The top part of a component's source: the document read with it, or else its file; null with the reason
  // when there is none.
  const Object* Source(const Object& component, std::string& why)
  {
    if (const Object* d = component.RefProp("source"); d != nullptr)
      if (const Object* top = H.TopPart(*d)) return top;
    const Value& file = component.Prop("file");
    if (!file.is_string()) {
      why = "it names no file";
      return nullptr;
    }
    const std::filesystem::path path(file.get<std::string>());
    struct stat st
    {
    };
    const Object* document = nullptr;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
      // The reader says why a file that is missing, a folder or a pipe cannot be read, without waiting on it.
      document = ReadDocumentFile(H, path, why);
    } else {
      const std::int64_t time = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
      TRead& r = Files[{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)}];
      document = r.Document != 0 ? H.Find(r.Document) : nullptr;
      if (document == nullptr || r.Time != time || r.Size != std::uint64_t(st.st_size)) {
        document = ReadDocumentFile(H, path, why);
        r = {time, std::uint64_t(st.st_size), document != nullptr ? document->Id() : 0};
      }
    }
    const Object* top = document != nullptr ? H.TopPart(*document) : nullptr;
    if (document != nullptr && top == nullptr) why = path.string() + ": it holds no part";
    return top;
  }

  // What walks the components: the files and top parts on the way down from the document, and how many
  // components it has met.
  struct TWalk
  {
    std::vector<std::filesystem::path> Files;
    std::vector<const Object*> Parts;
    std::size_t Met = 0;
    bool Full = false; // said that the rest is left out
  };

  void Leaves(const Object& part, const place::Matrix& m, TWalk& walk, std::vector<TLeaf>& out,
              std::vector<std::string>& leftOut)
  {
    walk.Parts.push_back(&part);
    for (const Object* c : model::LiveMembers(part, kinds::Part)) {
      const std::string name = NameOf(*c);
      // An assembly whose components share sub-assemblies holds their leaves many times over: past a bound
      // no coupling comes near, the rest is left out rather than walked for ever.
      if (walk.Met == MaxComponents) {
        if (!walk.Full)
          leftOut.push_back(name + " and the components after it: the assembly holds more than " +
                            std::to_string(MaxComponents) + " components");
        walk.Full = true;
        break;
      }
      ++walk.Met;
      std::string why;
      const std::optional<place::Matrix> own = Placement(*c, why);
      if (!own) {
        leftOut.push_back(name + ": " + why);
        continue;
      }
      const place::Matrix cm = Compose(m, *own);
      const std::filesystem::path file = FileOf(*c);
      if (const auto at = std::find(walk.Files.begin(), walk.Files.end(), file);
          !file.empty() && at != walk.Files.end()) {
        leftOut.push_back(name + ": " + SelfReference(walk.Files, at));
        continue;
      }
      const Object* source = Source(*c, why);
      if (source == nullptr) {
        leftOut.push_back(name + ": " + why);
        continue;
      }
      if (std::find(walk.Parts.begin(), walk.Parts.end(), source) != walk.Parts.end()) {
        leftOut.push_back(name + ": its source refers to itself");
        continue;
      }
      if (!model::LiveMembers(*source, kinds::Part).empty()) {
        if (walk.Parts.size() > MaxAssemblyDepth) {
          leftOut.push_back(name + ": nested more than " + std::to_string(MaxAssemblyDepth) + " deep");
          continue;
        }
        walk.Files.push_back(file);
        Leaves(*source, cm, walk, out, leftOut);
        walk.Files.pop_back();
        continue;
      }
      out.push_back({name, source, cm});
    }
    walk.Parts.pop_back();
  }
};

TEvaluator::TEvaluator(Host& host) : S(std::make_unique<TState>(host)) {}
TEvaluator::~TEvaluator() = default;

int TEvaluator::Modelled() const { return S->Modelled; }

void TEvaluator::SetProgress(std::ostream* out)
{
  S->Progress = out;
}

void TEvaluator::SetSeconds(double seconds)
{
  S->Seconds = seconds;
}

bool TEvaluator::Evaluate(Object& document, TDocumentResult& out, std::string& error, bool components)
{
  // What the modeller throws where nothing below caught it is the document's fault, said, never an abort.
  try {
    return Evaluated(document, out, error, components);
  } catch (const Standard_Failure& e) {
    out = {};
    error = "the modeller failed: " + FailureText(e);
    return false;
  }
}

bool TEvaluator::Evaluated(Object& document, TDocumentResult& out, std::string& error, bool components)
{
  const int type = Host::DocumentType(document);
  const Object* top = S->H.TopPart(document);
  if (top == nullptr || (type != txapi::txDocumentPart && type != txapi::txDocumentAssembly &&
                         type != txapi::txDocumentTechnologyAssembly)) {
    error = "not a part or an assembly";
    return false;
  }
  out = {};
  out.Name = NameOf(*top);
  // One budget for everything this evaluation works out: the parts' features, then the components' check.
  const TLimits limits = S->Limits();
  std::vector<TLeaf> leaves;
  TState::TWalk walk;
  // The document's own file is the first on the way down: a component naming it holds the document.
  if (const std::filesystem::path own = Host::DocumentPath(document); !own.empty())
    walk.Files.push_back(OneName(own));
  S->Leaves(*top, place::Matrix{}, walk, leaves, out.LeftOut);
  out.Assembly = type != txapi::txDocumentPart || !leaves.empty() || !out.LeftOut.empty();
  if (!out.Assembly) {
    out.Parts.push_back(S->Part(*top, limits));
    out.Placed.push_back({out.Name, out.Parts[0]->Shape, Twelve(place::Matrix{}), false,
                          out.Parts[0]->Symmetry, out.Parts[0]->Volume});
    return true;
  }
  TKey key;
  // A part placed many times is looked at once: its features and its marks are read from it the first time.
  struct TLooked
  {
    std::shared_ptr<const TPartResult> Part;
    bool Fastener = false, Piece = false;
  };
  std::map<const Object*, TLooked> looked;
  TProgress progress(S->Progress);
  for (const TLeaf& l : leaves) {
    progress.Step("components whose parts were built:", out.Parts.size(), leaves.size());
    auto [at, first] = looked.try_emplace(l.Part);
    if (first) at->second = {S->Part(*l.Part, limits), MustBeSeated(*l.Part), TravelsWithFastener(*l.Part)};
    const auto& [part, fastener, piece] = at->second;
    out.Parts.push_back(part);
    out.Placed.push_back({l.Name, part->Shape, Twelve(l.M), fastener, part->Symmetry, part->Volume, piece});
    // The part (kept as long as the evaluator, so its address names it) and where it stands, exactly: a
    // matrix printed to six places kept apart no two placements that differ by less.
    key.Put(std::size_t(part.get()));
    for (double v : out.Placed.back().Matrix)
      key.Put(v);
    key.Put(std::size_t(out.Placed.back().Fastener) + 2 * std::size_t(out.Placed.back().Piece));
  }
  // Parts not worked out whole cannot be checked against each other: what they would be is not known.
  if (!components ||
      std::any_of(out.Parts.begin(), out.Parts.end(), [](const auto& p) { return p->Late > 0; }))
    return true;
  // A check given another time may leave other pairs.
  key.Put(S->Seconds);
  auto& slot = S->Assemblies[key.Bytes];
  if (!slot) {
    TCheckOptions options;
    static_cast<TLimits&>(options) = limits;
    slot = std::make_shared<const TAssemblyResult>(CheckAssembly(out.Placed, options));
    ++S->Modelled;
  }
  out.Checked = slot;
  return true;
}

std::vector<std::string> TEvaluator::Faults(const TDocumentResult& r)
{
  std::vector<std::string> faults;
  for (const std::string& m : r.LeftOut)
    faults.push_back("component " + m);
  std::map<const TPartResult*, bool> seen; // a part placed several times is told once
  for (std::size_t i = 0; i < r.Parts.size(); ++i) {
    const TPartResult& p = *r.Parts[i];
    if (!seen.emplace(&p, true).second) continue;
    const std::string who = r.Placed[i].Name;
    // How many solids a part the time left unmade would have is not known.
    if (p.Late > 0)
      faults.push_back(who + ": " + NotWorkedOut(p));
    else if (p.Solids != 1)
      faults.push_back(who + ": " + std::to_string(p.Solids) + " solids");
    for (std::size_t k = 0; k < p.Features.size(); ++k) {
      const TFeatureResult& f = p.Features[k];
      if (f.Changed <= 0 && !f.Late)
        faults.push_back(
            who + ": " + f.Kind + " " + std::to_string(k) + " (" + (f.Cut ? "cut" : "boss") + ") " +
            (f.Error.empty() ? (f.Cut ? "removes nothing" : "adds nothing") : "failed: " + f.Error));
    }
  }
  if (r.Assembly && !r.Checked && r.Placed.size() > 1 && AnyLate(r))
    faults.push_back("not checked: the components against each other, their parts not being worked out");
  if (r.Checked) {
    for (const TCoincident& c : r.Checked->Coincident) {
      std::string which;
      for (std::size_t k = 0; k < c.Members.size() && k < 5; ++k)
        which += (k > 0 ? ", " : "") + std::to_string(c.Members[k]);
      faults.push_back("clash: " + std::to_string(c.Members.size()) + " copies of " +
                       r.Placed[c.Members[0]].Name + " stand at one place (components " + which +
                       (c.Members.size() > 5 ? ", ..." : "") + "): each pair of them shares all of its " +
                       Number(c.Volume) + " mm3");
    }
    for (const TClash& c : r.Checked->Clashes)
      faults.push_back("clash: " + r.Placed[c.A].Name + " and " + r.Placed[c.B].Name + " share " +
                       (c.Sampled > 0 ? "about " : "") + Number(c.Volume) + " mm3" +
                       (c.Sampled > 0
                            ? " (" + std::to_string(c.Inside) + " of " + std::to_string(c.Sampled) +
                                  " points spread over where they meet lie inside both; the modeller "
                                  "found nothing shared)"
                            : "") +
                       (c.Copies > 1 ? ", and so does each of the " + std::to_string(c.Copies - 1) +
                                           " other pairs of their copies at these places"
                                     : ""));
    for (const TUnchecked& u : r.Checked->Unchecked)
      faults.push_back("not checked: " + r.Placed[u.A].Name + " and " + r.Placed[u.B].Name + ": " + u.Error);
    if (r.Checked->LeftOver > 0) faults.push_back("not checked: " + LeftOver(r));
    // A fastener joins parts: standing in the holes of one part alone, it holds nothing to anything; what
    // travels with it (its nut, washer, bushes) is no part it joins.
    std::vector<std::vector<std::size_t>> seats(r.Placed.size());
    for (const TSeat& s : r.Checked->Seats)
      seats[s.Fastener].push_back(s.Part);
    for (std::size_t f = 0; f < r.Placed.size(); ++f)
      if (r.Placed[f].Fastener && r.Placed[f].Shape && seats[f].size() < 2)
        faults.push_back("not seated: " + r.Placed[f].Name +
                         (seats[f].empty() ? " stands in no hole"
                                           : " stands in the holes of one part only (" + r.Placed[seats[f][0]].Name +
                                                 "), not of two it joins"));
  }
  return faults;
}

bool TEvaluator::Check(Object& document, std::ostream& out, int& faults, std::string& error)
{
  TDocumentResult r;
  if (!Evaluate(document, r, error)) return false;
  out << (r.Assembly ? "assembly " : "part ") << r.Name << "\n";
  std::map<const TPartResult*, bool> seen;
  for (std::size_t i = 0; i < r.Parts.size(); ++i) {
    const TPartResult& p = *r.Parts[i];
    if (r.Assembly) out << "  component " << i << " " << r.Placed[i].Name << "\n";
    if (!seen.emplace(&p, true).second) continue;
    const std::string indent = r.Assembly ? "    " : "  ";
    out << indent << "volume " << Number(p.Volume) << " mm3, " << p.Solids << " solids"
        << (p.Late > 0 ? " (so far: not worked out whole)" : "") << "\n";
    for (std::size_t k = 0; k < p.Features.size(); ++k) {
      const TFeatureResult& f = p.Features[k];
      out << indent << f.Kind << " " << k << " " << f.Effect();
      if (f.Changed > 0) out << " " << Number(f.Changed) << " mm3";
      if (!f.Error.empty()) out << ": " << f.Error;
      out << "\n";
    }
  }
  if (r.Checked)
    for (const TSeat& s : r.Checked->Seats)
      out << "  seated: " << s.Fastener << " " << r.Placed[s.Fastener].Name << " in " << s.Part << " "
          << r.Placed[s.Part].Name << "\n";
  const std::vector<std::string> found = Faults(r);
  for (const std::string& f : found)
    out << "  fault: " << f << "\n";
  out << "faults: " << found.size() << "\n";
  faults = int(found.size());
  return true;
}

bool TEvaluator::Save(Object& document, const std::filesystem::path& file, bool section,
                      std::vector<std::string>& leftOut, std::string& error)
{
  // What cannot be written is said before the work: evaluating a large assembly takes minutes.
  const bool picture = file.extension() == ".png";
  if (!picture && file.extension() != ".step") {
    error = "a solid is saved as .png or .step, not as " + file.extension().string();
    return false;
  }
  if (section && !picture) {
    error = "only a picture (.png) is drawn as a section";
    return false;
  }
  if (!Writable(file, error)) return false;
  TDocumentResult r;
  // A picture or a STEP file shows the solids; whether they clash is the check's to say.
  if (!Evaluate(document, r, error, false)) return false;
  leftOut = r.LeftOut;
  // A half-made part drawn or written would pass for the part: nothing is written then.
  for (std::size_t i = 0; i < r.Parts.size(); ++i)
    if (r.Parts[i]->Late > 0) {
      error = r.Placed[i].Name + ": " + NotWorkedOut(*r.Parts[i]) + "; nothing written";
      return false;
    }
  if (NoRegularFileAt(file)) {
    error = "cannot write " + file.string() + ": not a regular file";
    return false;
  }
  return picture ? RenderPng(r.Placed, section, 1024, 768, file.string(), error)
                 : WriteStep(r.Placed, file.string(), error);
}

bool TEvaluator::Count(Object& document, const std::string& what, long long& n, std::string& error)
{
  TDocumentResult r;
  if (!Evaluate(document, r, error)) return false;
  n = 0;
  for (std::size_t i = 0; i < r.Parts.size(); ++i)
    if (r.Parts[i]->Late > 0) {
      error = "the " + what + " are not known: " + r.Placed[i].Name + ": " + NotWorkedOut(*r.Parts[i]);
      return false;
    }
  if (what == "clashes") {
    // A pair the modeller could not check, or that the bound left, may clash: no count is true then.
    if (r.Checked && !r.Checked->Unchecked.empty()) {
      const TUnchecked& u = r.Checked->Unchecked.front();
      error = "the clashes are not known: " + r.Placed[u.A].Name + " and " + r.Placed[u.B].Name + ": " + u.Error;
      return false;
    }
    if (r.Checked && r.Checked->LeftOver > 0) {
      error = "the clashes are not known: " + LeftOver(r);
      return false;
    }
    n = r.Checked ? (long long)r.Checked->ClashingPairs() : 0;
    return true;
  }
  if (what == "solids") {
    for (const auto& p : r.Parts)
      n += p->Solids;
    return true;
  }
  error = "nothing to count as " + what;
  return false;
}

bool TEvaluator::Effect(Object& document, const Object& feature, std::string& effect, std::string& error)
{
  const Object* top = S->H.TopPart(document);
  if (top == nullptr) {
    error = "not a 3D document";
    return false;
  }
  const auto features = SolidFeatures(*top);
  const auto at = std::find_if(features.begin(), features.end(), [&](const auto& f) { return f.first == &feature; });
  if (at == features.end()) {
    error = "the object is no placed solid feature of the document's top part";
    return false;
  }
  const auto part = S->Part(*top, S->Limits());
  effect = part->Features.at(std::size_t(at - features.begin())).Effect();
  return true;
}

} // namespace txhost::solid
