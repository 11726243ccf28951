// Measuring in the stand-in host: which objects each kind accepts, and the text a run hands back after
// its picks, for each kind, after a cancel and without any pick.

#include "CommandTestSupport.h"

#include "hxcadkit/commands/pmMeasurer.h"
#include "txhost/lib/Model.h"

#include <functional>
#include <limits>
#include <string>
#include <vector>

using namespace commands_test;
using txhost::Object;
using txhost::Value;
namespace model = txhost::model;

namespace {

class Measure : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentPart);
    Top = H.TopPart(*Document);
    Line = &Edge("line", 25, {1, 0, 0});
    Back = &Edge("line", 4, {-1, 0, 0});
    Arc = &Edge("arc", 3, {0, 0, 1}, 6);
    Circle = &Edge("circle", 31.4, {0, 0, 1}, 9);
    Plane = &Face("plane", {0, 1, 0});
    Sphere = &Face("sphere", {0, 0, 0}, 4);
    Plane->Set("edges", Value::array({txhost::RefValue(Line), txhost::RefValue(Arc)}));
    Thread = &H.Create("thread", Document, Top);
    Thread->Set("type", int(txapi::o3d_thread));
    Thread->Set("diameter", 12.0);
    Thread->Set("pitch", 1.75);
    Huge = &H.Create("thread", Document, Top);
    Huge->Set("type", int(txapi::o3d_thread));
    Huge->Set("diameter", 1e20);
    Huge->Set("pitch", std::numeric_limits<double>::quiet_NaN());
    Vertex = &H.Create(model::Datum, Document, Top);
    Vertex->Set("type", int(txapi::o3d_vertex));
  }
  void TearDown() override
  {
    drApi::MA.drEndGetPart(false);
    HostFixture::TearDown();
  }
  Object& Edge(const char* curve, double length, std::vector<double> direction, double radius = 0)
  {
    Object& e = H.Create(model::Edge, Document, Top);
    e.Set("type", int(txapi::o3d_edge));
    e.Set("curve", curve);
    e.Set("length", length);
    e.Set("direction", Value(direction));
    e.Set("radius", radius);
    return e;
  }
  Object& Face(const char* surface, std::vector<double> normal, double radius = 0)
  {
    Object& f = H.Create(model::Face, Document, Top);
    f.Set("type", int(txapi::o3d_face));
    f.Set("surface", surface);
    f.Set("normal", Value(normal));
    f.Set("radius", radius);
    return f;
  }

  Object *Top, *Line, *Back, *Arc, *Circle, *Plane, *Sphere, *Thread, *Huge, *Vertex;
};

TEST_F(Measure, EachKindAcceptsItsObjects)
{
  drApi::MA.drGetPart(pTop_Part, txapi::txDocumentPart);
  TpmMeasurer m(1);
  const std::vector<Object*> objects{Line, Arc, Circle, Plane, Sphere, Thread, Vertex};
  const char* accepted[] = {"1110000", "1111101", "0110100", "1001000", "0000010", "0000000"};
  for (int kind = 1; kind <= 6; ++kind) {
    m.typMeasurer = kind;
    std::string got;
    for (Object* o : objects)
      got += m.ECanSelect(txapi::SmartPtr<txapi::IModelObject>::Attach(
                 static_cast<txapi::IModelObject*>(o->QueryInterface(txapi::IModelObject::IID))))
                 ? '1'
                 : '0';
    EXPECT_EQ(got, accepted[kind - 1]) << "kind " << kind;
  }
  EXPECT_FALSE(m.ECanSelect(nullptr));
}

TEST_F(Measure, ARunHandsBackTheLastValueShown)
{
  txhost::EventScript& s = Script();
  auto kind = [&](int k) { s.ControlCommand(L"Тип измерения", k); };
  const struct
  {
    int Kind;
    std::function<void()> Steps;
    std::string Text;
  } runs[] = {
      {1, [&] { s.Pick(Line); }, "25"},
      {2, [&] { s.Pick(Line), s.Pick(Plane); }, "28"}, // the face's edges, the previous pick not counted
      {3, [&] { s.Pick(Arc), s.Pick(Circle); }, "12"}, // a whole circle is no arc: the value stays
      {3, [&] { s.Pick(Sphere); }, "8"},
      {4, [&] { s.Pick(Plane), s.Pick(Line), s.Pick(Back); }, "180"},
      {4, [&] { s.Pick(Line), kind(4), s.Pick(Back); }, "0"}, // a new kind forgets the previous pick
      {1, [&] { kind(5), s.Pick(Thread); }, "M  12.00*   1.75"},
      {5, [&] { s.Pick(Huge); }, "M100000000000000000000.00*    nan"}, // host values go in whole
      {5, [&] { s.Pick(Thread), s.Button(txapi::pbEsc); }, " "},
      {1, [] {}, ""},
  };
  for (const auto& r : runs) {
    r.Steps();
    s.Button(txapi::pbEnter);
    EXPECT_EQ(std::string(cmMeasurer(r.Kind).Utf8Text()), r.Text) << "kind " << r.Kind;
  }
}

// A diameter is the one radius of a face: a cylinder's or a sphere's, never a cone's.
TEST_F(Measure, ADiameterIsMeasuredOnACylinderAndNotOnACone)
{
  Object& cylinder = Face("cylinder", {0, 0, 0}, 5);
  Object& cone = Face("cone", {0, 0, 0}, 7);
  auto model = [](Object& o) {
    return txapi::SmartPtr<txapi::IModelObject>::Attach(
        static_cast<txapi::IModelObject*>(o.QueryInterface(txapi::IModelObject::IID)));
  };
  {
    drApi::MA.drGetPart(pTop_Part, txapi::txDocumentPart);
    TpmMeasurer m(3);
    EXPECT_TRUE(m.ECanSelect(model(cylinder)));
    EXPECT_FALSE(m.ECanSelect(model(cone)));
  }
  txhost::EventScript& s = Script();
  s.Pick(&cylinder);
  s.Button(txapi::pbEnter);
  EXPECT_EQ(std::string(cmMeasurer(3).Utf8Text()), "10");
  s.Pick(&cone);
  s.Button(txapi::pbEnter);
  EXPECT_EQ(std::string(cmMeasurer(3).Utf8Text()), "");
}

TEST_F(Measure, NothingToMeasureInWithoutAPart)
{
  H.SetActiveDocument(H.NewDocument(txapi::txDocumentDrawing, true));
  EXPECT_TRUE(cmMeasurer(1).Empty());
  EXPECT_TRUE(H.ObjectsOfKind("process-3d").empty());
}

} // namespace
