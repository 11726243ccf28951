// Documents whose objects nest far deeper than any library makes them (a file may hold any nesting): every
// walk over their objects, saving, reading, drawing, closing and freeing, taking a deleted group out, took a
// call per level and overflowed the stack.
#include "TestSupport.h"

#include "txapi/txapi.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/SvgWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

namespace {

using txhost::Host;
using txhost::Object;

constexpr std::size_t MillionDeep = 1000000;

// Objects of kind, each the only member of the one before, under first; the last of them.
Object* Chain(Host& host, Object& document, Object& first, std::string_view kind, std::size_t depth)
{
  Object* at = &first;
  for (std::size_t i = 0; i < depth; ++i)
    at = &host.Create(kind, &document, at);
  return at;
}

TEST(DeepDocument, PartsNestedAMillionDeepAreFreedWhenClosed)
{
  Host host;
  Object* part = host.NewDocument(txapi::txDocumentPart, false);
  Chain(host, *part, *host.TopPart(*part), txhost::kinds::Part, MillionDeep);
  ASSERT_TRUE(host.CloseDocument(*part));
  EXPECT_EQ(host.Collect(), MillionDeep + 2);
  EXPECT_LT(host.Objects().size(), 16u);
}

// Saved and opened again: a million deep where HXCAD_DEEP_DOCUMENT asks for it (the file takes 50 MB and
// long to read under the sanitizers), and past the depth that overflowed the stack otherwise.
TEST(DeepDocument, PartsNestedDeepSaveOpenAgainAndAreFreedWhenClosed)
{
  const char* asked = std::getenv("HXCAD_DEEP_DOCUMENT");
  const std::size_t depth = asked != nullptr ? std::strtoul(asked, nullptr, 10) : 150000;
  txhost::test::TempDir dir;
  Host host;
  host.SetDocumentsFolder(dir.path());
  Object* part = host.NewDocument(txapi::txDocumentPart, false);
  Chain(host, *part, *host.TopPart(*part), txhost::kinds::Part, depth);
  std::string error;
  ASSERT_TRUE(host.SaveDocumentAs(*part, dir / "deep.tpt", &error)) << error;
  ASSERT_TRUE(host.CloseDocument(*part));
  Object* again = host.OpenDocument(dir / "deep.tpt", false, &error);
  ASSERT_NE(again, nullptr) << error;
  std::size_t read = 0;
  for (const Object* at = host.TopPart(*again); at->Members().size() == 1; at = at->Members()[0])
    ++read;
  EXPECT_EQ(read, depth);
  ASSERT_TRUE(host.CloseDocument(*again));
  EXPECT_EQ(host.Collect(), depth + 2);
}

TEST(DeepDocument, MacrosNestedAMillionDeepAreDrawnAndGoWhenDeleted)
{
  Host host;
  Object* drawing = host.NewDocument(txapi::txDocumentDrawing, false);
  Object& view = host.Create(txhost::model::View, drawing, drawing);
  view.Set("number", 0);
  Object& outer = host.Create(txhost::model2d::Macro, drawing, &view);
  Object* inner = Chain(host, *drawing, outer, txhost::model2d::Macro, MillionDeep - 1);
  Object& line = host.Create(txhost::model::LineSegment, drawing, inner);
  for (const char* p : {"x1", "y1", "y2"})
    line.Set(p, 0.0);
  line.Set("x2", 10.0);
  line.MarkApplied();
  std::ostringstream svg;
  txhost::WriteSvg(*drawing, svg);
  EXPECT_NE(svg.str().find("</svg>"), std::string::npos);
  outer.Set("deleted", true);
  EXPECT_EQ(host.Forget({&outer}), MillionDeep + 1) << "a deleted macro goes with everything in it";
  EXPECT_EQ(view.Members().size(), 0u);
}

} // namespace
