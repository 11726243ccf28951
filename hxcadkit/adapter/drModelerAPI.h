#pragma once
// The host modeller adapter: drApi::TModelerApi implements the drawing model's modellers on
// the host's object API, and drApi::MA is its one process-wide instance. Besides the modeller
// interface it offers operations of its own that callers reach on MA directly: the host's
// message boxes, the title-block cells, the mass of a part file, the library's initialisation.
//
// The operations below that act on the host are built with the adapter's host side; MA itself
// is defined there too, with ADimension3D bound to it, since it needs every one of them.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/drawing/drModeler.h"
#include "txapi/IApplication.h"

namespace txapi {
enum txStampEnum : int; // the host's title-block column codes
} // namespace txapi

namespace drApi {

class TModelerApi : public TModeler3D
{
public:
  TModelerApi();
  ~TModelerApi() override;

  // The library's file name and directory from the host; loads the phrase dictionary once.
  // True when the host reported the library's path.
  bool Init(txapi::IApplication& app, const TString& name, const TString& font);

  // The host's modal message box.
  void LiftBox(const TString& text);
  // A yes/no question to the host: non-zero for yes, 0 without a host application.
  int QuestionBox(const TString& text, const TString& caption);

  // Opens title-block cell of the sheet being built, so that the next drStringObj writes there.
  void drColumnShtamp(txapi::txStampEnum cell);
  void drStringObj(const TString& text) override;

  // The mass the host computes for the 3D document of path (the open one, else it opens it);
  // 0.0 when the file does not exist.
  double GetMassFile(const TString& path);

  // The modeller interface on the host.
  using TModeler2D::drArc;
  void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) override;
  void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
             const double& x2, const double& y2, int Napr, int Attr) override;
  void drCircle(const double& X, const double& Y, const double& R, int Attr) override;
  void drEllipse(const double& X, const double& Y, const double& A, const double& B, const double& Angle,
                 int Attr) override;
  void drView(int N, const double& x, const double& y, const double& Alf, const double& Scale,
              const TString& Comment) override;
  void drAStView7(int N, const double& x, const double& y, const double& Alf, const double& Scale,
                  const TString& Comment, const TString& FName, const TString& tView) override;
  void drSpcObject(TSectionSpc TypeObj, const TString& NameFileObject, int Pos, int Count) override;
  TypeModeler Is() const override { return mAPI; }

  // The most recently created host modeller; null before one exists.
  static TModelerApi* Last;
};

// The global modeller, built when the library loads.
extern TModelerApi MA;

// The transform stack of MA's drawing registry; null until MA is built.
extern TTransf2D* Transf2D;

} // namespace drApi
