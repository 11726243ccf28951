#pragma once
// The control model of a design: the list of details that make up the product (record 0 the
// assembly itself), the rules that turn a detail into host file names and designations, and
// the title-block texts of its drawings. Every command's parameter model derives from
// TControlModel.
//
// The model fills the drawing modeller's detail information and calls the standard parts'
// drawing steps, and the title block and a part's mass come from the host modeller. Those
// subsystems stand above the core: the model keeps the rules here and reaches them through
// the links of ModelerLink.h, which they install when they come up. The modeller and the
// standard part are passed by reference only, so the operations keep the signatures every
// derived model overrides, and nothing here includes a header of the drawing model or the
// adapter. The standard-part base TDetail and the designer TConstruktor derive from the
// drawing model and live there (hxcadkit/drawing/BaseDetail.h).
#include <cstdint>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/ModelerLink.h"
#include "hxcadkit/core/TextBase.h"
#include "hxcadkit/core/Types.h"

class TRegistrator;

// The six title-block texts of a drawing.
class TStampParam
{
public:
  // The host's title-block column codes of the six cells (113 is not used).
  enum TCell : int {
    cPlant = 32,
    cDesign = 110,
    cChecked = 111,
    cTechChecked = 112,
    cNormoChecked = 114,
    cHasRatified = 115
  };

  TStampParam() = default;
  TStampParam(const TStampParam&) = default;
  TStampParam& operator=(const TStampParam&) = default;
  virtual ~TStampParam();

  // Writes every non-empty text into its cell of the title block being built by the host
  // modeller; empty texts leave their cells alone.
  virtual void dr2D();
  // The six texts in field order, each in the string form.
  virtual void toStream(TKmfData& S);
  // False when the data end early or are malformed; the texts then stay as they were.
  virtual bool fromStream(TKmfData& S);

  TString sPlant;        // organisation
  TString sDesign;       // designed by
  TString sChecked;      // checked by
  TString sTechChecked;  // technical check
  TString sNormoChecked; // standards check
  TString sHasRatified;  // approved by
};

class TControlModel
{
public:
  // One detail of the design.
  struct dcDetail
  {
    Integer Number = 0;    // position number; 0: not used. Record 0 is the assembly
    TString Name;          // name phrase (translated when used)
    Integer Material = 0;  // index into the material table
    Real Shoroh = 0.0;     // surface roughness
    Real Scale2 = 0.0;     // scale of the 2D drawing
    TDetail* PD = nullptr; // the standard part that builds it; not owned
    TBaseDetail DC;        // standard-element code

    void Swap(dcDetail& other);
    // Every field but PD, in field order (Number, Name, Material, Shoroh, Scale2, DC).
    void Write(TKmfData& S) const;
    // False when the data end early; the record then stays as it was.
    bool Read(TKmfData& S);
  };

  TControlModel(const TString& stateName, const TString& helpName);
  virtual ~TControlModel();
  TControlModel(const TControlModel&) = delete;
  TControlModel& operator=(const TControlModel&) = delete;

  // Installs the detail table (not owned). On entry each record's Number holds the index at
  // which it belongs; the records are put there and every Number becomes 0 (no detail used).
  void SetDetails(dcDetail* table, int count);
  void SetExistDet(int n, int number);
  bool ExistDetail(int n) const;
  bool ExistDet(int n) const { return ExistDetail(n); }
  bool ValidDet(int n) const { return DataDetail && n >= 0 && n < CountDetail; }
  int NumberDet(int n) const;
  int MaterialDet(int n) const;
  // The detail's kind for callers that tell details apart; the base has none (0).
  int TypeDet(int n, int) const;
  TBaseDetail& GetCodeDet(int n);
  void SetCodeDet(int n, const TBaseDetail& code);
  void SetCodeDet(int n, int id, int index, int index2);
  // The first record with that Number; -1 when none.
  int DetailByNumber(int number) const;

  // The translated name, followed by " " and exec when exec is not 0; empty outside the table.
  TString NameDet(int n, int exec) const;
  // The designation: "marking-number[-exec]" when NameMarking is set, then
  // " ( standard element ) " when the detail has a standard-element code.
  TString MarkingDet(int n, int exec) const;
  // The name of the detail's standard element; empty when the catalogue is not loaded.
  TString NoteDet(int n) const;
  // File names without directory: prFileName + Number [+ "-" exec], and with the host's
  // drawing (".tdr"), part (".tpt") or assembly (detail 0, ".tas") extension.
  TString sfDetail(int n, int exec) const;
  TString sfDetail2D(int n, int exec) const;
  TString sfDetail3D(int n, int exec) const;

  // Makes detail n (in version exec) the modeller's current detail: fills the detail
  // information of its drawing registry. False, with nothing changed, for a detail not in use.
  bool SetCurrent(TModeler3D& m, int n, int exec);
  // Draws every used detail that has a standard part, last first; the assembly (record 0) is
  // not drawn. A part that throws is skipped.
  virtual void Make2D(TModeler3D& m);
  virtual void Make3D(TModeler3D& m, int n, bool);
  // A model registers its editable parameters here; the base has none.
  void Announcement(TRegistrator&) {}

  // NameMarking, then the title-block texts. NameMarking is read only from streams of version
  // 33 on. False when the data end early; the model then stays as it was.
  void Write(TKmfData& S);
  bool Read(TKmfData& S);
  // The same in a memory stream packed into v (header and data).
  void to(std::vector<std::uint8_t>& v);
  bool from(const std::vector<std::uint8_t>& v);

  dcDetail* DataDetail = nullptr; // not owned: the derived model supplies a static table
  Integer CountDetail = 0;
  const TString StateName;
  const TString HelpName;
  TString ExecutePath;
  TString HelpFile;
  TString StatePath;
  TString StatePathName;
  TString Path;
  TString NameMarking; // marking prefix of the product
  TString prFileName;  // file-name prefix of the detail files
  TString D99;
  TStampParam SP;
};
