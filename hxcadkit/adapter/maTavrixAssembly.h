#pragma once
// Numbered components placed in one assembly, and the standard mates that tie them to the
// assembly's planes; the contour that draws itself through the global modeller; the point buffer
// of the cut lines.
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/TPointer.h"
#include "hxcadkit/geometry/Contour.h"

namespace drApi {

// One placed component. Copies share the part and the variable pointers.
class TDetailPart
{
public:
  TDetailPart() = default;
  TDetailPart(const TDetailPart&) = default;
  TDetailPart& operator=(const TDetailPart&) = default;

  // x, y and z must be the caller's registered fields themselves: their variables are looked up
  // by address.
  void SetPosition(const double& x, const double& y, const double& z, const TVector3D& iAX, const TVector3D& iAY);

  txapi::SmartPtr<txapi::IPart> Part;
  int Detail = -1;
  unsigned Suffics = 0;
  unsigned Copy = 0; // records of the same Detail and Suffics added before this one
  bool ActiveMate = false;
  TPoint3D Origin{0, 0, 0};
  TIdVariable* VX = nullptr; // not owned: entries of AVariable
  TIdVariable* VY = nullptr;
  TIdVariable* VZ = nullptr;
  TVector3D AX{0, 0, 0};
  TVector3D AY{0, 0, 0};
};

class TADetailPart : public TArrayOf<TDetailPart>
{
public:
  TADetailPart() : TArrayOf<TDetailPart>(256, 256) {}
  ~TADetailPart() override;

  TDetailPart& Add(txapi::SmartPtr<txapi::IPart> Part, int Det, int Suffics);
  txapi::SmartPtr<txapi::IPart> PfA(int Detail, int Suffics, int Copy) const;
  // The standard object T of the matching record's part.
  txapi::SmartPtr<txapi::IModelObject> DE(int Detail, int Suffics, int Copy, txapi::txObj3dTypeEnum T) const;
  txapi::SmartPtr<txapi::IModelObject> DE(int Detail, int Suffics, txapi::txObj3dTypeEnum T) const
  {
    return DE(Detail, Suffics, 0, T);
  }
  // Ties every active record's planes to the assembly's: coincident at a zero origin, then at
  // the distance of its bound variables.
  void drAllMates() const;

private:
  const TDetailPart* Find(int Detail, int Suffics, int Copy) const;
};

// Through the global modeller.
bool drMate(txapi::MateConstraintType MT, txapi::SmartPtr<txapi::IModelObject>& O1,
            txapi::SmartPtr<txapi::IModelObject>& O2, int Direction, int Fixed, const double& V,
            const TString& iExpresion);
void drPlanePerpendEdgeVertex(txapi::SmartPtr<txapi::IModelObject> Edge, txapi::SmartPtr<txapi::IModelObject> Point);

// A contour whose members draw through the global modeller, whatever modeller is asked.
class TContourAPI : public TContour
{
public:
  TContourAPI() = default;
  ~TContourAPI() override;

  // Style OutAtribute, or the member's Atr when it is 0.
  virtual void drItem(int I, int OutAtribute) const;
  void drItem(TModeler3D&, int i, int style) const override { drItem(i, style); }
};

inline constexpr int CutPointSize = 50;
extern TPoint2D CutPoint[CutPointSize];
// The points of CutPoint in use.
extern int countCutPoint;
// The curves a linear dimension binds to.
extern TContourAPI ParametricData;
// The components builders number; empty in this system.
extern TADetailPart ADP;

// Installs the adapter's placing of the host's driving dimensions (once); true when it is installed.
bool InstallDimensionLink();

} // namespace drApi
