#pragma once
// A part with a sketch being edited, as a 3D builder leaves it before its feature, and readers of what the
// features left on the stand-in.

#include <string>

#include "AdapterSupport.h"
#include "txhost/lib/Model3D.h"

namespace adaptertest {

class PartModeller : public HostedModeller
{
public:
  // A part document "name" with a sketch on XY: a 20 x 10 rectangle standing on an axis line along x.
  void NewPartWithSketch(const std::string& name = "p.tpt")
  {
    drApi::MA.drCreate3D(true, true, T(Dir / name), "Деталь", "Д-1");
    Sketch();
  }
  void Sketch()
  {
    drApi::MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, "Эскиз");
    drApi::MA.drLine(-5, 0, 25, 0, 3);
    const double p[5][2] = {{0, 0}, {20, 0}, {20, 10}, {0, 10}, {0, 0}};
    for (int i = 0; i < 4; ++i)
      drApi::MA.drLine(p[i][0], p[i][1], p[i + 1][0], p[i + 1][1], 1);
  }

  txhost::Object& Last() const
  {
    txhost::Object* o = Find(drApi::MA.R().Obj3D.get());
    if (o == nullptr) throw std::runtime_error("no last 3D object");
    return *o;
  }
  txhost::Object& PartObject() const { return *Find(drApi::MA.R().Part.get()); }
  // The calls of op on o, each as its argument list.
  static std::string Calls(const txhost::Object& o, std::string_view op)
  {
    std::string s;
    for (const txhost::Call* c : o.CallsOf(op))
      s += c->Arguments.dump();
    return s;
  }
  // The live members of the part of the kind.
  std::size_t Count(std::string_view kind) const
  {
    return txhost::model::LiveMembers(PartObject(), kind).size();
  }
  // The members recorded for the innermost open 3D macro.
  static int Recorded() { return drApi::MA.R().AMacroObject3D.AObjects.Count; }
};

} // namespace adaptertest
