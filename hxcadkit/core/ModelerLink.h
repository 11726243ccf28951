#pragma once
// The control model and the registry of program variables belong to the core services, yet
// they reach the drawing model (the detail information of a modeller's registry, the standard
// parts' drawing steps, the material table, the sheet corner, host model variables) and the
// host modeller (the mass of a part file, the title-block cells). Those subsystems sit above
// the core, so each installs its link here when it comes up: hxcadkit_drawing the drawing link,
// hxcadkit_adapter the host link. Without a link the core does its own share and nothing more:
// no modeller is touched, a file has no mass and no cell is written.
//
// The core knows the modeller and the standard part only by name; it hands them back to the
// link that owns their definitions.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Types.h"

class TModeler3D; // hxcadkit/drawing/drModeler.h
class TDetail;    // hxcadkit/drawing/BaseDetail.h

// The fields of a modeller's detail information that TControlModel::SetCurrent fills.
struct TCurrentDetail
{
  Integer cDetail = 0;
  Integer cSuffics = 0;
  Real Weight = 0.0;
  TString comment;
  TString designation;
  TString fileName;
  TString material;
  Real Left = 0.0;
  Real Top = 0.0;
};

// The drawing model, as the core services see it.
class TDrawingLink
{
public:
  virtual ~TDrawingLink() = default;

  // Writes the nine fields of d into the detail information of m's drawing registry.
  virtual void SetCurrent(TModeler3D& m, const TCurrentDetail& d) = 0;
  // Clears the only-2D-sizes flag of m's drawing registry.
  virtual void ClearOnlySizes2D(TModeler3D& m) = 0;
  // The name of entry index of the material table; empty outside the table.
  virtual TString MaterialName(int index) const = 0;
  // The upper left corner of a sheet's drawing field (the sheet selector).
  virtual void GetLeafLeftUp(int format, int orientation, double& x, double& y) const = 0;
  // The standard part's own drawing steps.
  virtual void dr2D(const TDetail& d) = 0;
  virtual void dr3D(const TDetail& d, int n) = 0;
  // Asks m for the host model variable name (value, comment) and links it to the variable of
  // the same name in the host document linkDoc when that is not empty.
  virtual void AddLinkedVariable(TModeler3D& m, const TString& name, double value, const TString& comment,
                                 const TString& linkDoc) = 0;

  // Installs a link (null removes it) and returns the one it replaces; the installer keeps it
  // alive while it is installed.
  static TDrawingLink* Set(TDrawingLink* link);
  static TDrawingLink* Get();
};

// The host modeller drApi::MA, as the core services see it.
class THostModelerLink
{
public:
  virtual ~THostModelerLink() = default;

  // The mass the host computes for the 3D document of path; 0.0 when there is none.
  virtual double GetMassFile(const TString& path) = 0;
  // Opens title-block cell (the host's column code) so that the next drStringObj writes there.
  virtual void drColumnShtamp(int cell) = 0;
  virtual void drStringObj(const TString& text) = 0;

  static THostModelerLink* Set(THostModelerLink* link);
  static THostModelerLink* Get();
};
