// Call sequences of the host modeller's 2D side on the stand-in host: macro objects, groups,
// pending objects (hatch, colouring, cut line, leader) with their points and ends, curve
// collectors (null entries among them), placements and drawing, mixed with host faults (collections
// that hand out nothing, refused interfaces, refused updates and, in one mode, calls that throw).
// First byte, bit 0: the rest is a balanced sequence (every opening closed in reverse order by its
// own end) played inside an open group, macro and hatch, which must leave every stack as it found it
// and the macro the current container; bit 1 (unbalanced only): host calls may throw. Every byte
// after it is one step. Invariants: no stack count below zero, and no host object still referenced
// once the modeller's fields are emptied.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "../tests/adapter/Drawing2DSupport.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/geometry/Contour.h"
#include "txapi/txapi.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Host.h"

namespace {

using drApi::MA;

void Check(bool ok)
{
  if (!ok) std::abort();
}

void Forget()
{
  adaptertest::ResetModeller();
  adaptertest::Reset2D();
}

struct Counts
{
  Integer Commands, Groups, Macros, Contours, Matrices;
  bool operator==(const Counts&) const = default;
};

Counts Now()
{
  const Counts c{MA.R2D().APrevCommand.Count, MA.R2D().AGroup.Count, MA.R().AMacroObj.Count,
                 MA.R2D().AContour.Count, MA.R2D().Transf2D.AMtr.Count};
  Check(c.Commands >= 0 && c.Groups >= 0 && c.Macros >= 0 && c.Contours >= 0 && c.Matrices >= 0);
  return c;
}

const char* const Refusable[] = {"IMacroObjects", "IHatches",
                                 "IColourings",   "ICutLines",
                                 "ILeaders",      "IDrawingGroups.Add",
                                 "ILineSegments", "IArcs",
                                 "ICircles",      "IPoints",
                                 "IDrawingTexts", "IText",
                                 "ITextLine",     "IDrawingGroups.GetOpenGroup"};
const std::string_view Facets[] = {txapi::IHatchParam::IID, txapi::IUserParameters::IID,
                                   txapi::IBranchs::IID,    txapi::IBoundariesObject::IID,
                                   txapi::ITextFont::IID,   txapi::IBaseLeader::IID};
const char* const Throwing[] = {"Update", "Add", "Open", "Close", "SetText", "AddBoundaries", "SetPlacement"};

class Player
{
public:
  Player(txhost::Host& h, bool throws) : H(h), Throws(throws) {}

  // Openings 0-7; their ends close the kind given.
  void Open(int kind, int arg)
  {
    switch (kind) {
    case 0:
      MA.drMacro2D(true);
      break;
    case 1:
      MA.drGroup(arg & 1);
      break;
    case 2:
      MA.drHatch(arg & 1, 45, 2);
      break;
    case 3:
      MA.drColouring(arg);
      break;
    case 4:
      MA.drCut(7, 1, 75, "А", 0, 0, arg & 1 ? 1 : -1, 30, 0, 1);
      break;
    case 5:
      MA.drShelf(txapi::txLeaderSignEnum(0), 1, 2, txapi::txLSRight, txapi::txArrowEnum(0), 5, 1, 0, "1", 5,
                 1, 0, "");
      break;
    case 6:
      MA.R2D().AContour.Push(arg & 1 ? &Contour[arg % 3] : nullptr);
      break;
    default:
      MA.drMtr(arg, -arg, arg * 7, arg & 1 ? 2 : 0.5);
      break;
    }
  }
  void Close(int kind)
  {
    switch (kind) {
    case 0:
      MA.drEndMacro();
      break;
    case 1:
      MA.drEndGroup();
      break;
    case 6:
      if (MA.R2D().AContour.Count > 0) MA.R2D().AContour.Pop();
      break;
    case 7:
      MA.drDeleteMtr();
      break;
    default:
      MA.drEndObj();
      break;
    }
  }
  // Drawing and faults.
  void Other(int op, int arg)
  {
    const double v = arg;
    switch (op) {
    case 0:
      MA.drLine(v, 0, 0, v + 1, arg % 3);
      break;
    case 1:
      MA.drArc(0, 0, v - 5, v - 5, 0, 0, v - 5, arg % 3 - 1, 1);
      break;
    case 2:
      MA.drCircle(v, v, v - 3, arg % 2);
      break;
    case 3:
      MA.drText(v, 0, 30, v / 4, 1, 0, "Т");
      break;
    case 4:
      MA.drPoint(v, -v);
      break;
    case 5:
      MA.drEllipse(0, 0, v, 3, 10, 1);
      break;
    case 6:
      MA.drLayer(arg % 4);
      break;
    case 7:
      MA.drSetMacro2DParam(std::vector<std::uint8_t>(std::size_t(arg), 7), "f", "m", 200, true, TMt{});
      break;
    case 8:
      H.GetFaults().RefuseHandOut(Refusable[arg % std::size(Refusable)]);
      break;
    case 9:
      H.GetFaults().RefuseInterface(txhost::Target::Any(), Facets[arg % std::size(Facets)]);
      break;
    case 10:
      H.GetFaults().FailUpdate(txhost::Target::Any());
      break;
    case 11:
      if (Throws) H.GetFaults().ThrowOnCall(txhost::Target::Any(), Throwing[arg % std::size(Throwing)]);
      break;
    default:
      H.GetFaults().Clear();
      break;
    }
  }

  txhost::Host& H;
  bool Throws;
  TContour Contour[3];
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size == 0 || size > 4096) return 0;
  const bool balanced = data[0] & 1, throws = !balanced && (data[0] & 2);
  txhost::Host h;
  txhost::Object* doc = h.NewDocument(txapi::txDocumentDrawing, true);
  Forget();
  MA.R().IDoc2D = txapi::SmartPtr<txapi::ITavrixDocument2D>::Attach(
      static_cast<txapi::ITavrixDocument2D*>(doc->QueryInterface(txapi::ITavrixDocument2D::IID)));
  MA.drOpenView(0);
  {
    Player p(h, throws);
    MA.drGroup(true);
    MA.drMacro2D(true);
    MA.drHatch(0, 45, 2);
    const Counts start = Now();
    const txhost::Object* macro = txhost::Object::From(MA.R().DrawingContainer.get());
    std::vector<int> open;
    for (std::size_t i = 1; i < size; ++i) {
      const int step = data[i] % 32, arg = data[i] / 32;
      try {
        if (!balanced) {
          if (step < 8)
            p.Open(step, arg);
          else if (step < 16)
            p.Close(step - 8);
          else
            p.Other(step - 16, arg);
        } else if (step < 8) {
          p.Open(step, arg);
          open.push_back(step);
        } else if (step < 12) {
          if (!open.empty()) p.Close(open.back()), open.pop_back();
        } else if (step - 12 != 11) {
          p.Other(step - 12, arg);
        }
      } catch (const txhost::HostError&) {
        Check(throws);
      }
      Now();
    }
    if (balanced) {
      for (; !open.empty(); open.pop_back())
        p.Close(open.back());
      Check(Now() == start);
      Check(txhost::Object::From(MA.R().DrawingContainer.get()) == macro);
    }
    h.GetFaults().Clear();
    MA.drEndObj();
    MA.drEndMacro();
    MA.drEndGroup();
    Now();
    Forget();
  }
  Check(h.Referenced().empty());
  return 0;
}
