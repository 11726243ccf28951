#include "txhost/lib/SymbolFacets.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/Kinds.h"

#include "txhost/lib/Blocks.h"
#include "txhost/lib/ConstraintFacets.h"

#include "txhost/lib/Facets.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Model3D.h"
#include "txhost/lib/TessellationFacets.h"
#include "txhost/lib/ViewFacets.h"

#include <array>

namespace txhost {

namespace {

struct DocumentKindName
{
  txapi::DocumentTypeEnum Type;
  std::string_view Kind;
  std::string_view Name; // as scenarios and reports name the type
};

constexpr std::array<DocumentKindName, 6> DocumentKinds{{
    {txapi::txDocumentDrawing, "drawing", "drawing"},
    {txapi::txDocumentFragment, "fragment", "fragment"},
    {txapi::txDocumentSpecification, "specification", "specification"},
    {txapi::txDocumentPart, "part-document", "part"},
    {txapi::txDocumentAssembly, "assembly", "assembly"},
    {txapi::txDocumentTechnologyAssembly, "technology-assembly", "technology-assembly"},
}};

// The kinds of the 3D model and of sketch and drawing curves (txhost/lib/Model.h).
void AddModelKinds(KindTable& t)
{
  using namespace facets;
  auto add = [&](std::string_view kind, std::vector<FacetEntry> f) { t.Add(std::string(kind), 0, std::move(f)); };
  add(model::Plane, {ModelObject(), Plane3D(), Feature()});
  add(model::Datum, {ModelObject()});
  add(model::Sketch, {Sketch(), ModelObject(), Feature()});
  add(model::SketchEditor, {TavrixDocument2D(), ViewsAndLayersManager(), Views()});
  add(model::SketchView, WithDrawing2D(false, {View(), DrawingContainer(), Symbols2DContainer(), LineSegments(), Arcs()}));
  add(model::View, WithDrawing2D(true, {View(), DrawingContainer(), Symbols2DContainer(), LineSegments(), Arcs()}));
  add(model::LineSegment, {LineSegment(), DrawingObject()});
  add(model::Arc, {Arc(), DrawingObject()});
  add(model::Rotated, {Rotated(), ModelObject(), Feature(), ColorParam()});
  add(model::Extrusion, {Extrusion(), ModelObject(), Feature(), ColorParam()});
  add(model::AuxLine, {LineSegment3D(), ModelObject(), ModelCurve3D()});
  add(model::AuxPoint, {Point3D(), ModelObject(), Feature()});
  add(model::Spiral, {CylindricalSpiral(), ModelObject()});
  add(model::Face, {Face(), ModelObject(), ColorParam(), MathSurface3D()});
  add(model::Edge, {Edge(), ModelObject(), MathCurve3D()});
  add(model::SplitLine, {SplitLine(), ModelObject()});
  add(model::Placement, {Placement3D()});
  add(model::Mate, {MateConstraint3D(), Feature()});
  add(model::Variable, {Variable()});
}

KindTable MakeBuiltin()
{
  using namespace facets;
  KindTable t;
  t.Add(std::string(kinds::Application), 0, {Application(), ApplicationEvents(), ApplicationObjects()});
  t.Add(std::string(kinds::Registrar), 0, {LibraryActions()});
  t.Add(std::string(kinds::Documents), 0, {Documents()});
  t.Add(std::string(kinds::Error), 0, {TavrixError()});
  t.Add(std::string(kinds::Translator), 0, {Translator()});
  t.Add(std::string(kinds::LibraryRecord), 0, {LibraryRecord()});
  std::vector<FacetEntry> part{Part(),      ModelObject(), Feature(), ModelContainer(), Sketches(), Rotateds(),
                               Extrusions(), AuxiliaryGeomContainer(), ColorParam(), PolyLines(), PartInAssembly(), UserParameters3D(),
                               MeasurementContainer()};
  for (FacetEntry& f : PartFeatureFacets())
    part.push_back(f);
  for (FacetEntry& f : PartSymbolFacets())
    part.push_back(f);
  t.Add(std::string(kinds::Part), txapi::o3d_part, std::move(part));
  AddModelKinds(t);
  AddModel3DKinds(t);
  AddSymbolKinds(t);
  AddSpecificationKinds(t);
  AddUserDataKinds(t);
  AddDrawing2DKinds(t);
  AddDimensionKinds(t);
  AddCommandKinds(t);
  AddAttributeKinds(t);
  AddSheetKinds(t);
  AddTessellationKinds(t);
  AddConstraintKinds(t);
  AddMeasureKinds(t);
  AddViewKinds(t);
  for (const auto& d : DocumentKinds) {
    std::vector<FacetEntry> f{TavrixDocument(),      SelectionManager(),
                              ChooseManager(),       SpecificationDescriptions(),
                              UserDataStoragesMng(), DocumentSaveRecord()};
    AddDocumentAttributeFacets(f);
    if (d.Type == txapi::txDocumentDrawing || d.Type == txapi::txDocumentFragment) {
      f.push_back(TavrixDocument2D());
      f.push_back(ViewsAndLayersManager());
      f.push_back(Views());
      f.push_back(DrawingGroups());
      f.push_back(Document2DEdit());
      AddSheetFacets(f);
    }
    if (d.Type == txapi::txDocumentSpecification) f.push_back(SpecificationDocument());
    if (d.Type == txapi::txDocumentPart || d.Type == txapi::txDocumentAssembly ||
        d.Type == txapi::txDocumentTechnologyAssembly) {
      f.push_back(TavrixDocument3D());
      f.push_back(MateConstraints3D());
      f.push_back(ViewProjectionManager());
      f.push_back(ExternalTessellationManager());
    }
    t.Add(std::string(d.Kind), 0, std::move(f));
  }
  return t;
}

} // namespace

const FacetEntry* KindSpec::Find(std::string_view iid) const
{
  // Asked for at every hand-out, mostly by the very identifier the entry holds: its address first.
  for (const auto& f : Facets)
    if (f.Iid.data() == iid.data() && f.Iid.size() == iid.size()) return &f;
  for (const auto& f : Facets)
    if (f.Iid == iid) return &f;
  return nullptr;
}

const KindTable& KindTable::Builtin()
{
  static const KindTable table = MakeBuiltin();
  return table;
}

const KindSpec* KindTable::Find(std::string_view name) const
{
  auto it = Kinds.find(name);
  return it == Kinds.end() ? nullptr : &it->second;
}

const KindSpec& KindTable::Get(std::string_view name) const
{
  if (const KindSpec* k = Find(name)) return *k;
  throw HostError("txhost: unknown object kind \"" + std::string(name) + "\"");
}

std::vector<std::string> KindTable::Names() const
{
  std::vector<std::string> names;
  for (const auto& [name, spec] : Kinds)
    names.push_back(name);
  return names;
}

void KindTable::Add(std::string name, int typeCode, std::vector<FacetEntry> facets)
{
  facets.push_back(txhost::facets::TavrixAPIObject());
  KindSpec spec{name, typeCode, std::move(facets)};
  Kinds.insert_or_assign(std::move(name), std::move(spec));
}

std::string_view DocumentKind(txapi::DocumentTypeEnum t)
{
  for (const auto& d : DocumentKinds)
    if (d.Type == t) return d.Kind;
  return {};
}

int DocumentTypeOfKind(std::string_view kind)
{
  for (const auto& d : DocumentKinds)
    if (d.Kind == kind) return d.Type;
  return 0;
}

std::string DocumentTypeName(int type)
{
  for (const auto& d : DocumentKinds)
    if (d.Type == type) return std::string(d.Name);
  return std::to_string(type);
}

int DocumentTypeOfName(std::string_view name)
{
  for (const auto& d : DocumentKinds)
    if (d.Name == name) return d.Type;
  return 0;
}

} // namespace txhost
