// Deleting a drawing object deletes what it holds: a macro its content at every level, a group what was
// drawn in it. Nothing of it stays live in the drawing, and its file holds nothing of it.
#include "txapi/txapi.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using txhost::Host;
using txhost::Object;

// The objects of the kind in the document that are not deleted.
std::size_t Live(const Host& host, const Object& document, std::string_view kind)
{
  std::size_t n = 0;
  for (const Object* o : host.ObjectsOf(document))
    n += o->Kind() == kind && !txhost::model::Deleted(*o);
  return n;
}

void DeleteThroughApi(Object& o)
{
  auto drawn = txapi::SmartPtr<txapi::IDrawingObject>::Attach(
      static_cast<txapi::IDrawingObject*>(o.QueryInterface(txapi::IDrawingObject::IID)));
  ASSERT_TRUE(drawn);
  drawn->Delete();
}

TEST(DeleteDrawingObject, AMacroOrAGroupGoesWithWhatItHolds)
{
  for (const bool group : {false, true}) {
    Host host;
    Object* d = host.NewDocument(txapi::txDocumentDrawing, false);
    Object& view = host.Create(txhost::model::View, d, d);
    view.Set("number", 0);
    Object* kept = txhost::model2d::NewDrawingObject(host, view, txhost::model::LineSegment);
    Object& g = txhost::NewDrawingGroup(host, *d, false);
    txhost::model2d::OpenGroup(g, true);
    Object& outer = *txhost::model2d::NewDrawingObject(host, view, txhost::model2d::Macro);
    Object& inner = *txhost::model2d::NewDrawingObject(host, outer, txhost::model2d::Macro);
    for (Object* in : {&outer, &inner, &inner})
      txhost::model2d::NewDrawingObject(host, *in, txhost::model::LineSegment);
    txhost::model2d::NewDrawingObject(host, view, txhost::model::LineSegment);
    txhost::model2d::OpenGroup(g, false);
    ASSERT_EQ(Live(host, *d, txhost::model::LineSegment), 5u);

    DeleteThroughApi(group ? g : outer);
    EXPECT_EQ(Live(host, *d, txhost::model::LineSegment), group ? 1u : 2u);
    EXPECT_EQ(Live(host, *d, txhost::model2d::Macro), 0u);
    EXPECT_FALSE(txhost::model::Deleted(*kept));
    std::string text, error;
    ASSERT_TRUE(txhost::DocumentFileText(host, *d, text, error)) << error;
    EXPECT_EQ(text.find("\"macro\""), std::string::npos) << text;
    EXPECT_EQ(text.find("\"deleted\""), std::string::npos) << text;
  }
}

} // namespace
