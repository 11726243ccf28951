// Inserting a part file into an assembly, run in the stand-in host: the refusals, the live mates of each
// kind of pick, the component with its permanent mates, and an edited component's mates as the first picks.

#include "CommandTestSupport.h"

#include "hxcadkit/commands/pmInsertModel.h"
#include "tests/txhost/TestSupport.h"
#include "txhost/lib/Model.h"

#include <utility>
#include <vector>

using namespace commands_test;
using txhost::Object;
namespace model = txhost::model;

namespace {

using SmartPtrPart = txapi::SmartPtr<txapi::IPart>;

template <class I> txapi::SmartPtr<I> View(Object& o)
{
  return txapi::SmartPtr<I>::Attach(static_cast<I*>(o.QueryInterface(I::IID)));
}

class InsertModel : public HostFixture
{
protected:
  void SetUp() override { Open(txapi::txDocumentAssembly); }
  void TearDown() override
  {
    Edit.reset();
    drApi::MA.drEndGetPart(false);
    HostFixture::TearDown();
  }

  // A part file whose top part holds the named objects (name, type).
  std::string PartFile(std::vector<std::pair<const char*, int>> named)
  {
    Object* doc = H.NewDocument(txapi::txDocumentPart, false);
    for (auto [name, type] : named)
      model::NewObject(H, model::Datum, *H.TopPart(*doc), type).Set("name", name);
    const std::string file = (Dir / ("part" + std::to_string(++Files) + ".tpt")).string();
    EXPECT_TRUE(H.SaveDocumentAs(*doc, file));
    H.CloseDocument(*doc);
    H.SetActiveDocument(Document);
    return file;
  }
  std::string BasedPart() { return PartFile({{"MateAxes", txapi::o3d_axis2Planes}, {"MatePlane", txapi::o3d_planeOffset}}); }
  // An object of the assembly to pick: a face of the surface kind, or a vertex or axis.
  Object& Pickable(int type, const char* surface = "")
  {
    Object& o = H.Create(type == txapi::o3d_face ? model::Face : model::Datum, Document, H.TopPart(*Document));
    o.Set("type", type);
    o.Set("surface", surface);
    return o;
  }
  SmartPtrPart Insert(const std::string& file) { return cmInsertModel(TString(file.c_str()), Edit, nullptr); }
  Object& Process() { return Only("process-3d"); }
  // "kind first second fixing direction" of each mate of the collection, the objects by name or id.
  std::vector<std::string> Mates(const Object& holder)
  {
    std::vector<std::string> out;
    for (Object* m : model::Mates(H, holder)) {
      auto name = [&](const char* role) {
        const Object* o = m->RefProp(role);
        return o == nullptr ? std::string("-") : o->Has("name") ? o->Prop("name").get<std::string>() : "#" + std::to_string(o->Id());
      };
      out.push_back(m->Prop("kind").dump() + " " + name("first") + " " + name("second") + " " +
                    m->Prop("fixing").dump() + " " + m->Prop("direction").dump());
    }
    return out;
  }
  static std::string Id(const Object& o) { return "#" + std::to_string(o.Id()); }

  txhost::test::TempDir Dir;
  int Files = 0;
  SmartPtrPart Edit;
};

TEST_F(InsertModel, RefusedOutsideAssembliesAndForAMissingFile)
{
  EXPECT_FALSE(cmInsertModel(TString("/no/such/part.tpt"), Edit, nullptr));
  const std::string file = BasedPart();
  H.SetActiveDocument(H.NewDocument(txapi::txDocumentPart, true));
  EXPECT_FALSE(Insert(file));
  EXPECT_EQ(H.Messages(), (std::vector<std::wstring>{L"Отсутствует файл : /no/such/part.tpt",
                                                     L"Вставка возможна только в сборку"}));
  EXPECT_TRUE(H.ObjectsOfKind("process-3d").empty());
}

TEST_F(InsertModel, EachPickMakesItsLiveMateAndEnterMakesTheComponentWithPermanentMates)
{
  Object& plane = Pickable(txapi::o3d_face, "plane");
  Object& cylinder = Pickable(txapi::o3d_face, "cylinder");
  Object& cone = Pickable(txapi::o3d_face, "cone");
  Object& vertex = Pickable(txapi::o3d_vertex);
  Object& axis = Pickable(txapi::o3d_axisEdge);
  const std::vector<double> placed{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1};
  txhost::EventScript& s = Script();
  s.ControlCommand(L"Направление ", 2); // before any mate collection is taken: no effect
  for (Object* o : {&plane, &cylinder, &vertex, &axis})
    s.Pick(o);
  s.ControlCommand(L"Направление ", 2);
  s.Pick(&cone);
  s.Queue([&](Object& process) { process.Set("placement", txhost::Value(placed)); });
  s.Button(txapi::pbEnter);
  SmartPtrPart made = Insert(BasedPart());

  ASSERT_TRUE(made);
  Object& process = Process();
  EXPECT_EQ(Mates(*process.RefProp("mates")),
            (std::vector<std::string>{"0 MatePlane " + Id(plane) + " 2 1", "4 MateAxes " + Id(cylinder) + " 2 1",
                                      "0 MateAxes " + Id(vertex) + " 1 1", "4 MateAxes " + Id(cone) + " 2 -1"}));
  // The live mates hold the phantom by its own base objects, read from the file.
  for (Object* m : model::Mates(H, *process.RefProp("mates")))
    EXPECT_EQ(m->RefProp("first")->Parent(), process.RefProp("phantom"));
  // Only the last pick is listed as selected; an axis is accepted but makes no mate.
  EXPECT_EQ(process.Prop("selected").dump(), txhost::Value::array({nullptr, txhost::RefValue(&cone), nullptr}).dump());
  Object* component = Object::From(made.get());
  EXPECT_EQ(component->Prop("placement"), txhost::Value(placed));
  EXPECT_EQ(Mates(*Document), (std::vector<std::string>{"0 " + Id(plane) + " MatePlane 2 -1", "0 " + Id(vertex) + " MateAxes 2 -1",
                                                        "4 " + Id(cone) + " MateAxes 2 0"}));
  for (Object* m : model::Mates(H, *Document))
    EXPECT_EQ(m->RefProp("second")->Parent(), component);
}

TEST_F(InsertModel, ThePartsBaseObjectsFallBackToItsStandardOnes)
{
  const struct
  {
    std::vector<std::pair<const char*, int>> Named;
    std::string Plane, Axis;
  } cases[] = {
      {{{"MateAxes", txapi::o3d_axis2Planes}}, "Плоскость XY", "MateAxes"},
      {{{"Ось базирования 1", txapi::o3d_axis2Planes}}, "Плоскость ZX", "Ось базирования 1"},
      {{}, "Плоскость XY", "Ось Z"},
  };
  for (const auto& c : cases) {
    Object& plane = Pickable(txapi::o3d_face, "plane");
    Object& cylinder = Pickable(txapi::o3d_face, "cylinder");
    Script().Pick(&plane);
    Script().Pick(&cylinder);
    Script().Button(txapi::pbEsc);
    EXPECT_FALSE(Insert(PartFile(c.Named)));
    const std::vector<Object*> runs = H.ObjectsOfKind("process-3d");
    EXPECT_EQ(Mates(*runs.back()->RefProp("mates")),
              (std::vector<std::string>{"0 " + c.Plane + " " + Id(plane) + " 2 1",
                                        "4 " + c.Axis + " " + Id(cylinder) + " 2 1"}));
  }
  EXPECT_TRUE(model::Mates(H, *Document).empty());
}

TEST_F(InsertModel, AnEditedComponentsMatesAreTheFirstPicks)
{
  const std::string file = BasedPart();
  Object& plane = Pickable(txapi::o3d_face, "plane");
  Object& cylinder = Pickable(txapi::o3d_face, "cylinder");
  Object& vertex = Pickable(txapi::o3d_vertex);
  {
    auto top = View<txapi::IPart>(*H.TopPart(*Document));
    Edit = top->AddComponent(txhost::FromUtf8(file), true);
    auto as = [](Object& o) { return View<txapi::IModelObject>(o); };
    drApi::MA.drGetPart(pTop_Part, txapi::txDocumentAssembly);
    auto mine = [&](const char* name) { return drApi::MA.FindEntity(Edit, txapi::o3d_unknown, TString(name)); };
    drApi::MA.drMate(txapi::mc_Coincidence, as(plane), mine("MatePlane"), 1, 1, 0.0, TString());
    drApi::MA.drMate(txapi::mc_Coincidence, as(vertex), mine("MateAxes"), 1, 1, 0.0, TString());
    drApi::MA.drMate(txapi::mc_Concentric, as(cylinder), mine("MateAxes"), 0, 1, 0.0, TString());
  }
  Script().ButtonUpdate(txapi::pbEnter);
  Script().ButtonUpdate(txapi::pbEsc); // only the first query restores the picks
  Script().Button(txapi::pbEnter);
  ASSERT_TRUE(Insert(file));

  Object& process = Process();
  EXPECT_EQ(Mates(*process.RefProp("mates")),
            (std::vector<std::string>{"0 MatePlane " + Id(plane) + " 2 1", "4 MateAxes " + Id(cylinder) + " 2 1"}));
  EXPECT_EQ(process.Prop("selected").dump(),
            txhost::Value::array({txhost::RefValue(&plane), txhost::RefValue(&cylinder), nullptr}).dump());
  EXPECT_EQ(Ops(process, {"Stop", "End"}), "End");
  const std::vector<std::string> all = Mates(*Document);
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(all.begin() + 3, all.end()),
            (std::vector<std::string>{"0 " + Id(plane) + " MatePlane 2 1", "0 " + Id(vertex) + " MateAxes 2 1",
                                      "4 " + Id(cylinder) + " MateAxes 2 0"}));
}

} // namespace
