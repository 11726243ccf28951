#pragma once
// The parameter model of the coupling being designed: the catalogue row, torque, shaft
// diameters and bore types, the 2D placement, the names derived from them, the files of the
// generated documents, and the parameter block the commands store with a created coupling.
#include <cstdint>
#include <vector>

#include "hxcadkit/core/ControlModel.h"
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "txapi/IDrawingObject.h"
#include "txapi/IPart.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/SmartPtr.h"

class TControlModelCoupling : public TControlModel
{
public:
  TControlModelCoupling();
  ~TControlModelCoupling() override;

  void SetProjectsName(const TString& coupling, const TString& standart, double m, double d1, double d2);
  // Path, prefix and second diameter, "=" and the first diameter when they differ, "-n" for a
  // part, the standard, ".tpt" for a part else ".tas".
  TString sfDetail(int n, bool part) const;
  // The file of a standard fastener of this coupling (stored as entry n).
  TString mfDetail3D(int n);
  TString MainName() const;
  // The assembly's code and designation: FilePrefix, "Муфта-", the torque, then each diameter with
  // its own bore type in MainName's order.
  TString CodeDet() const;
  void mkAssembly3D(double d1, int t1, double d2, int t2, bool invisible);
  // A half-coupling passes its bore type (0..3), which its file name carries after the diameter
  // (the designation does not), so that halves of other bores never share a file.
  void mkDetail3D(int n, const TString& name, double d, bool invisible, bool isPart, int boreType = -1);
  TString Detail3D(int n) const { return n >= 0 && n < 10 ? ANameFile[n] : TString(); }
  // Removes the part files 1..9 and empties their entries; the assembly stays.
  void DeleteFiles();

  // The files of a 3D build. Forget empties every entry; naming a file (mkDetail3D, mfDetail3D,
  // mkAssembly3D) notes the file as it stood before the build writes it, or refuses the name (see
  // Refuse): a part of a name refused is made in a document of no file, and mfDetail3D answers an
  // empty name.
  void ForgetFiles();
  // Whether entry n names a file this build has written (made or replaced).
  bool Written(int n) const;
  // The first named file the build has not written, with why it cannot be written (a name refused
  // first, then the host's reason, else as looked at on the file system); false when every named file
  // was written.
  bool Unwritten(TString& file, TString& reason) const;
  // The first of the named files the build could not write, looked at before it writes any: a name refused,
  // else the first entry that the host would refuse to write (a folder, a pipe or a device at the name, a
  // read-only file, a folder the user may not write or that is missing), else the first entry when another
  // build keeps the folder past the wait (TFolderLock), with why; false when none is. Nothing is written.
  bool Unwritable(TString& file, TString& reason) const;
  // Removes the files this build has made where none stood before, each only while it is the file the
  // build saved; files it replaced stay, and so does one another build has put at the name since.
  void RemoveMadeFiles();
  // Called with each file RemoveMadeFiles is about to remove, once it found the file is the build's
  // own, with the folder's lock held (TFolderLock); a test holds it there while other builds save.
  static void (*BeforeRemoval)(const TString& file);

  // The parameter block: 11 fields after a 256-byte header (magic 0x017EDEDD, version 97).
  void Write(TKmfData& S) const;
  void to(std::vector<std::uint8_t>& v) const;
  // Reloads the block's fields. A block that ends early, or whose name lengths run past its
  // end, is refused: false, and the model keeps every field it had. Bore types are kept
  // within 0..3.
  bool from(const std::vector<std::uint8_t>& v);
  // The fields as Write puts them, from the stream's position; refused like from.
  bool Read(TKmfData& S);

  TString ANameFile[10];
  double M = 0.0;
  double P1d = 0.0;
  double P2d = 0.0;
  double pX = 0.0;
  double pY = 0.0;
  double pAngle = 0.0;
  std::int32_t T1 = 0;
  std::int32_t T2 = 0;
  std::int32_t TView = 0;
  bool NeedSpcObj = true;
  bool NeedPosLeader = false;
  TString CouplingName;
  TString StandartName;
  TString PrefixName;
  // Starts every file name of a build: the row's PrefixName where catalogue rows share one main
  // table (their pieces would otherwise be named alike), else empty. Set by the catalogue.
  TString FilePrefix;
  txapi::SmartPtr<txapi::IDrawingObject> EditMode;
  txapi::SmartPtr<txapi::IDrawingObject> EditObj;
  txapi::SmartPtr<txapi::IDrawingObject> RefSpcObj;
  txapi::SmartPtr<txapi::IDrawingObject> SpcObj2;
  txapi::SmartPtr<txapi::IDrawingObject> PosLeaderObj;
  std::vector<std::uint8_t> DataEditObj;
  txapi::SmartPtr<txapi::IPart> EditPart;
  txapi::SmartPtr<txapi::ITavrixAPIObject> Place;
  std::int32_t cDetail = 0;
  std::int32_t cSuffics = 0;
  TString Note, fileName, designation, material, scale, shoroh, comment;
  std::int32_t Format = 0;
  std::int32_t Orientation = 0;
  double Scale = 0.0;
  double Weight = 0.0;
  double Left = 0.0;
  double Top = 0.0;

  // The file that stood at a file's path when the build named it (not a link): the host replaces a
  // file it writes.
  struct TFileState
  {
    bool Exists = false;
    std::uint64_t Device = 0, Inode = 0, Size = 0;
    std::int64_t Modified = 0;
    bool operator==(const TFileState&) const = default;
  };
  TFileState Before[10];

  static constexpr std::uint32_t BlockMagic = 0x017EDEDD;
  static constexpr std::uint32_t BlockVersion = 97;
  static constexpr int HeaderSize = 256;

  // The source the block's readers take the fields from.
  struct TFieldSource;

private:
  bool ReadFields(TFieldSource& r);
  // Whether a file the build names is refused: its name after the folder holds "/" or is "." or "..",
  // or it is too long for the file system. The first refusal is kept for Unwritten; a name refused is
  // written nowhere.
  bool Refuse(const TString& file);
  TString RefusedFile, RefusedWhy;
};

extern TControlModelCoupling ControlModel;

// The integer part of a size for names: saturating, NaN gives 0.
int IntPart(double v);
