// Object-selection controls: the first one becomes the current target, picks go into the current target
// only when they fit it, and its panel buttons make a control current or clear it.

#include "CommandTestSupport.h"

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txhost/lib/Model.h"

using namespace commands_test;
using txapi::SmartPtr;
using Obj = SmartPtr<txapi::IModelObject>;

namespace {

class TPicking : public TBaseManager3D
{
public:
  explicit TPicking(Obj held)
      : TBaseManager3D(T("Команда"), T(""), txapi::pnEnterEscHelp, 1, T("Параметры"), nullptr)
  {
    One = held;
    AddEditObj(T("Объект"), T(""), T("грань"), One, true, txapi::txChooseManagerTypeEnum(1), false);
    AddEditPlaneFace(T("Плоскость"), T(""), T("плоскость"), Plane, true, txapi::txChooseManagerTypeEnum(2),
                     false);
    AddEditValue(T("Грани"), T(""), Faces, false, true, txapi::txChooseManagerTypeEnum(3));
  }
  Obj One, Plane;
  drApi::TAOfComEntity Faces;
};

class Selection : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentAssembly);
    drApi::Selector->Begin();
  }
  void TearDown() override
  {
    C.reset();
    drApi::Selector->End();
    HostFixture::TearDown();
  }
  Obj Make(std::string_view kind, const char* surface = nullptr)
  {
    txhost::Object& o = H.Create(kind, Document);
    o.Set("type", kind == txhost::model::Face ? int(txapi::o3d_face) : int(txapi::o3d_edge));
    if (surface != nullptr) o.Set("surface", surface);
    return Obj::Attach(static_cast<txapi::IModelObject*>(o.QueryInterface(txapi::IModelObject::IID)));
  }
  // Faces f[0..n) in a row, each sharing an edge with the next.
  std::vector<Obj> Strip(int n)
  {
    std::vector<txhost::Object*> faces;
    for (int i = 0; i < n; ++i) {
      faces.push_back(&H.Create(txhost::model::Face, Document));
      faces.back()->Set("type", int(txapi::o3d_face));
    }
    for (int i = 0; i + 1 < n; ++i) {
      txhost::Object& e = H.Create(txhost::model::Edge, Document);
      e.Set("faces", txhost::Value::array({txhost::RefValue(faces[i]), txhost::RefValue(faces[i + 1])}));
      for (txhost::Object* f : {faces[i], faces[i + 1]}) {
        txhost::Value l = f->Prop("edges").is_array() ? f->Prop("edges") : txhost::Value::array();
        l.push_back(txhost::RefValue(&e));
        f->Set("edges", l);
      }
    }
    std::vector<Obj> out;
    for (auto* f : faces)
      out.push_back(
          Obj::Attach(static_cast<txapi::IModelObject*>(f->QueryInterface(txapi::IModelObject::IID))));
    return out;
  }
  txhost::Object& Control(const char* caption)
  {
    return *txhost::FindControl(Only("process-param"), txhost::FromUtf8(caption));
  }
  bool Press(const char* caption, int button)
  {
    return C->APropertyVariable.ControlCommand(
        SmartPtr<txapi::IPropertyControl>::Attach(static_cast<txapi::IPropertyControl*>(
            Control(caption).QueryInterface(txapi::IPropertyControl::IID))),
        button);
  }
  std::string Rows() { return Control("Грани").Prop("rows").dump(); }

  std::unique_ptr<TPicking> C;
};

TEST_F(Selection, TheFirstControlIsTheTargetAndPicksFitTheirTarget)
{
  Obj a = Make(txhost::model::Face, "cylinder"), b = Make(txhost::model::Face, "plane");
  C = std::make_unique<TPicking>(a);
  TAPropertylVariable& s = C->APropertyVariable;
  EXPECT_EQ(s.Selected, 0);
  EXPECT_EQ(Control("Плоскость").Prop("checkState"), 3);
  EXPECT_EQ(Control("Грани").Prop("checkState"), 3);
  EXPECT_EQ(Control("Объект").Prop("text"), "грань");
  EXPECT_EQ(Control("Плоскость").Prop("text"), "");
  EXPECT_EQ(Control("Плоскость").Prop("checkText"), "Укажите плоскость");

  // One object: only the held one may be picked again, which takes it out.
  EXPECT_FALSE(s.CanSelect(b));
  EXPECT_TRUE(s.CanSelect(a));
  EXPECT_TRUE(s.Select(a));
  EXPECT_FALSE(C->One);
  EXPECT_EQ(Control("Объект").Prop("text"), "");
  EXPECT_TRUE(s.CanSelect(b));
  EXPECT_TRUE(s.Select(b));
  EXPECT_EQ(Control("Объект").Prop("text"), "грань");
  EXPECT_TRUE(s.IsSelected(&C->One));

  // A plane face: no edge, no cylinder.
  EXPECT_FALSE(Press("Плоскость", 0));
  EXPECT_EQ(s.Selected, 1);
  Obj edge = Make(txhost::model::Edge);
  EXPECT_FALSE(s.CanSelect(edge));
  EXPECT_FALSE(s.CanSelect(a));
  EXPECT_TRUE(s.CanSelect(b));

  // Button 2 clears a single-object control.
  EXPECT_TRUE(Press("Объект", 2));
  EXPECT_FALSE(C->One);
  EXPECT_EQ(s.Selected, 0);
  Obj empty;
  EXPECT_FALSE(s.CanSelect(empty));
  EXPECT_FALSE(s.Select(empty));
}

TEST_F(Selection, AFaceListGrowsByAdjacentFacesAndKeepsItsRowsNumbered)
{
  C = std::make_unique<TPicking>(Obj());
  TAPropertylVariable& s = C->APropertyVariable;
  EXPECT_TRUE(Press("Грани", 0));
  EXPECT_EQ(s.Selected, 2);
  std::vector<Obj> f = Strip(4);
  Obj away = Make(txhost::model::Face, "plane");
  for (int i : {0, 1, 2}) {
    EXPECT_TRUE(s.CanSelect(f[std::size_t(i)])) << i;
    EXPECT_TRUE(s.Select(f[std::size_t(i)])) << i;
  }
  EXPECT_FALSE(s.CanSelect(away));
  EXPECT_TRUE(s.CanSelect(f[3]));
  EXPECT_TRUE(s.Select(f[1])); // picked again: out
  EXPECT_EQ(C->Faces.Count, 2);
  EXPECT_TRUE(C->Faces[1] == f[2]);
  EXPECT_EQ(Rows(), R"(["Поверхность 1","Поверхность 2"])");
  // The list form works whichever control is current.
  EXPECT_FALSE(Press("Объект", 0));
  EXPECT_TRUE(s.Select(C->Faces, f[1]));
  EXPECT_EQ(C->Faces.Count, 3);
  EXPECT_TRUE(s.ControlIs(SmartPtr<txapi::ITavrixAPIObject>(SmartPtr<txapi::IAPIObject>::Attach(
                              Control("Грани").QueryInterface(txapi::IAPIObject::IID))),
                          &C->Faces));
}

} // namespace
