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

template <class I> SmartPtr<I> As(txhost::Object& o)
{
  return SmartPtr<I>::Attach(static_cast<I*>(o.QueryInterface(I::IID)));
}

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
  Obj Make(std::string_view kind, const char* surface = "plane", txhost::Object* linked = nullptr)
  {
    txhost::Object& o = H.Create(kind, Document);
    o.Set("type", kind == txhost::model::Face ? int(txapi::o3d_face) : int(txapi::o3d_edge));
    o.Set("surface", surface);
    if (linked != nullptr) { // an edge shared with the face before
      txhost::Object& e = H.Create(txhost::model::Edge, Document);
      e.Set("faces", txhost::Value::array({txhost::RefValue(linked), txhost::RefValue(&o)}));
      o.Set("edges", txhost::Value::array({txhost::RefValue(&e)}));
      txhost::Value l = linked->Prop("edges").is_array() ? linked->Prop("edges") : txhost::Value::array();
      l.push_back(txhost::RefValue(&e));
      linked->Set("edges", l);
    }
    Last = &o;
    return As<txapi::IModelObject>(o);
  }
  txhost::Object& Control(const char* caption)
  {
    return *txhost::FindControl(Only("process-param"), txhost::FromUtf8(caption));
  }
  bool Press(const char* caption, int button)
  {
    return C->APropertyVariable.ControlCommand(As<txapi::IPropertyControl>(Control(caption)), button);
  }

  std::unique_ptr<TPicking> C;
  txhost::Object* Last = nullptr;
};

TEST_F(Selection, TheFirstControlIsTheTargetAndPicksFitTheirTarget)
{
  Obj a = Make(txhost::model::Face, "cylinder"), b = Make(txhost::model::Face);
  C = std::make_unique<TPicking>(a);
  TAPropertylVariable& s = C->APropertyVariable;
  EXPECT_EQ(s.Selected, 0);
  EXPECT_EQ(Control("Плоскость").Prop("checkState"), 3);
  EXPECT_EQ(Control("Объект").Prop("text"), "грань");
  EXPECT_EQ(Control("Плоскость").Prop("text"), "");
  EXPECT_EQ(Control("Плоскость").Prop("checkText"), "Укажите плоскость");

  // One object: only the held one may be picked again, which takes it out.
  EXPECT_FALSE(s.CanSelect(b));
  EXPECT_TRUE(s.CanSelect(a) && s.Select(a));
  EXPECT_FALSE(C->One);
  EXPECT_EQ(Control("Объект").Prop("text"), "");
  EXPECT_TRUE(s.CanSelect(b) && s.Select(b));
  EXPECT_EQ(Control("Объект").Prop("text"), "грань");
  EXPECT_TRUE(s.IsSelected(&C->One));

  // A plane face: no edge, no cylinder.
  EXPECT_FALSE(Press("Плоскость", 0));
  EXPECT_EQ(s.Selected, 1);
  Obj edge = Make(txhost::model::Edge);
  EXPECT_FALSE(s.CanSelect(edge));
  EXPECT_FALSE(s.CanSelect(a));
  EXPECT_TRUE(s.CanSelect(b));

  // Button 2 clears a single-object control and makes it current.
  EXPECT_TRUE(Press("Объект", 2));
  EXPECT_FALSE(C->One);
  EXPECT_EQ(s.Selected, 0);
  Obj empty;
  EXPECT_FALSE(s.CanSelect(empty) || s.Select(empty));
}

TEST_F(Selection, AFaceListGrowsByAdjacentFacesAndKeepsItsRowsNumbered)
{
  C = std::make_unique<TPicking>(Obj());
  TAPropertylVariable& s = C->APropertyVariable;
  EXPECT_TRUE(Press("Грани", 0));
  EXPECT_EQ(s.Selected, 2);
  std::vector<Obj> f{Make(txhost::model::Face)};
  for (int i = 1; i < 4; ++i)
    f.push_back(Make(txhost::model::Face, "plane", Last));
  Obj away = Make(txhost::model::Face);
  for (std::size_t i : {0, 1, 2})
    EXPECT_TRUE(s.CanSelect(f[i]) && s.Select(f[i])) << i;
  EXPECT_FALSE(s.CanSelect(away));
  EXPECT_TRUE(s.CanSelect(f[3]));
  EXPECT_TRUE(s.Select(f[1])); // picked again: out
  ASSERT_EQ(C->Faces.Count, 2);
  EXPECT_TRUE(C->Faces[1] == f[2]);
  EXPECT_EQ(Control("Грани").Prop("rows").dump(), R"(["Поверхность 1","Поверхность 2"])");
  // The list form works whichever control is current.
  EXPECT_FALSE(Press("Объект", 0));
  EXPECT_TRUE(s.Select(C->Faces, f[1]));
  EXPECT_EQ(C->Faces.Count, 3);
  EXPECT_TRUE(
      s.ControlIs(SmartPtr<txapi::ITavrixAPIObject>(As<txapi::IAPIObject>(Control("Грани"))), &C->Faces));
}

} // namespace
