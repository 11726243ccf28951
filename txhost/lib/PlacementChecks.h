#pragma once

#include "txhost/lib/Placement3D.h"

#include <string>
#include <vector>

namespace txhost {

class Host;

// Cheap checks of placed parts and assemblies, by boxes and axes alone (microseconds a part): what a test can
// ask on every build without a solid modeller. Each answers the faults it finds as texts for a person; none
// means sound.
namespace place {

// Boxes that share less than this (mm) along an axis do not overlap; faces this close touch.
inline constexpr double CheckTolerance = 1e-6;
// A hole meets a fastener's axis when its centre line lies this close (mm) to it and runs along it.
inline constexpr double AxisTolerance = 1e-3;

// A part's features in order: every cut's tool overlaps the material made before it with positive
// thickness along every axis (else it cuts nothing); every boss after the first touches that material
// (else it floats apart). Material is the boxes of the bosses before, so a cut inside a box's empty corner
// passes.
std::vector<std::string> CheckPart(const std::vector<Placed>& features, const std::string& name);

// A component of an assembly with its part's placed features (in the part's coordinates).
struct PlacedComponent
{
  std::string Name; // the part's name and file, for the findings
  Matrix M;
  std::vector<Placed> Features;

  // The box of its bosses, placed in the assembly.
  Box Body() const;
  // Its holes in the assembly: the circles of its cut features, and the arcs of half a turn or more of its
  // straight cuts (seats).
  std::vector<Circle3D> Holes() const;
  // A turned part's axis in the assembly: its first boss rotation's; false when it has none.
  bool TurnedAxis(Vec3& point, Vec3& dir) const;
  // The boxes of its features of the kind and cut state, placed in the assembly, in order.
  std::vector<Box> Tools(const std::string& kind, bool cut) const;
};

// The components of an assembly's top part, each with the placed features of its source part (the
// document it was inserted from, or its file read again when that is gone, as after reopening).
std::vector<PlacedComponent> ComponentsOf(Host& host, const Object& topPart);

// Every turned component off the main axis (a fastener) whose body passes through another component's
// body with positive volume, where that one has holes along the fastener's axis, meets one of them on its
// axis. Met gets, for each component in order, the number of components whose holes it meets (0 for those
// that are no fasteners).
std::vector<std::string> CheckFasteners(const std::vector<PlacedComponent>& components, const Vec3& mainPoint,
                                        const Vec3& mainDir, std::vector<int>* met = nullptr);

// The checks of a whole assembly: each distinct part's features (CheckPart) and the fasteners; met as
// CheckFasteners gives it, for components (as ComponentsOf gives them).
std::vector<std::string> CheckAssembly(const std::vector<PlacedComponent>& components, const Vec3& mainPoint,
                                       const Vec3& mainDir, std::vector<int>* met = nullptr);

// A tongue or jaw box stands in its slot: inside it, each face allowed out by the tolerance.
bool StandsIn(const Box& tongue, const Box& slot, double tolerance = CheckTolerance);
// Two boxes clash: they share a positive volume.
bool Clash(const Box& a, const Box& b, double tolerance = CheckTolerance);

} // namespace place

} // namespace txhost
