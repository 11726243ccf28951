#pragma once
// The property-manager command base. One TBaseManager is one run of one interactive command: it receives
// the host's six event streams, owns the command's panel with the bindings of its fields, its previews and
// the widgets over the view, and drives the host process. TBaseManager3D and TProcessManager2D create the
// host process of a 3D and a 2D command; commands derive from those and override the handlers they need.
#include "hxcadkit/commands/ApplicationEvent.h"
#include "hxcadkit/commands/HotPointData.h"
#include "hxcadkit/commands/MeshDraw.h"
#include "hxcadkit/commands/WindowOGL.h"
#include "hxcadkit/commands/pmBindings.h"
#include "hxcadkit/core/ControlModel.h"
#include "hxcadkit/core/DString.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "hxcadkit/geometry/Mathemat3d.h"
#include "txapi/IManipulator.h"
#include "txapi/IPart.h"
#include "txapi/IProcess.h"
#include "txapi/IPropertyControl.h"
#include "txapi/IPropertyPanel.h"

#include <cstdint>
#include <initializer_list>

// One button of a panel button group or tool bar.
class TButtonData
{
public:
  TButtonData(const TString& tips, int icon) : Icon(icon), Tips(tips) {}
  TButtonData(int id, int icon, const TString& tips) : Id(id), Icon(icon), Tips(tips) {}

  std::int32_t Id = 0;
  std::int32_t Icon = 0; // negative: image -Icon of the library's icon font
  TString Tips;
};

class THotPointEdit;

class TPickData
{
public:
  bool Moved = false; // the mouse moved since the last button press
  bool Valid = false;
  std::int16_t nButton = 0;
  TPoint3D P;
  TVector3D V;
};

using txapi::SpecPropertyToolBarEnum;

// Host calls made while a command ends, also from destructors: what a failing call throws ends that
// step and no more, so that the remaining steps still let go of what the command holds.
template <class F> void Quietly(F&& step) noexcept
{
  try {
    step();
  } catch (...) {
  }
}

// A command's own Advise(), Run(bool, bool) and 2D PlacementChanged hide the receivers' handlers of the
// same names on purpose: those are reached through their receiver (qualified, or by the host's callbacks).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"

class TBaseManager : public TReceiverFrameEvent,
                     public TReceiverProcess3DManipulatorsEvent,
                     public TReceiverProcess3DEvent,
                     public TReceiverProcess2DEvent,
                     public TReceiverPropertyManagerEvent,
                     public TReceiverApplicationEvent
{
public:
  template <class I> using SmartPtr = txapi::SmartPtr<I>;

  ~TBaseManager() override;
  TBaseManager(const TBaseManager&) = delete;
  TBaseManager& operator=(const TBaseManager&) = delete;

  // The running command; null when none runs.
  static TBaseManager* CurrentProcessManager;
  // The design whose help file the panel's help button opens; set by the plug-in.
  static const TControlModel* HelpModel;

  virtual void UpdateRun() {}
  virtual bool OnStop();
  virtual bool OnExitRun() { return true; }
  virtual void Advise();
  virtual void UnAdvise();
  // A negative code pauses (previews hidden, the command stays ready to run again); 0 or more ends it.
  virtual void Stop(int iExitCode);
  bool ChangeControlValue(TControlPtr Control) override;
  // Told by the bindings after a bound field changed.
  virtual bool ChangeValue(void* Pointer, int Sender);
  bool MoveManipulator(int Id, double vectorX, double vectorY, double vectorZ, double delta, bool fromEdit) override;
  bool RotateManipulator(int Id, double originX, double originY, double originZ, double axisX, double axisY,
                         double axisZ, double angle, bool fromEdit) override;
  bool EndDragManipulator(int Id, txapi::txManipulatorPrimitiveEnum primitiveType) override;
  // Hooks for a command that turns its bound matrix itself; true when it did.
  virtual bool RotateManipulatorAxisX(long, const double&) { return false; }
  virtual bool RotateManipulatorAxisY(long, const double&) { return false; }
  virtual bool RotateManipulatorAxisZ(long, const double&) { return false; }
  // The value the user typed into edit manipulator Id goes into its bound double (read from the
  // manipulator; PrimitiveType and newValue are not used).
  virtual bool ChangeManipulatorValue(long Id, long PrimitiveType, double newValue);
  bool ChangeManipulatorValue(int Id, txapi::txManipulatorPrimitiveEnum primitiveType, double newValue) override;
  bool KeyDown(int& keyCode, int keyFlags, const TPressedKeys& Keys) override;
  bool CanSelect(const TObj& iEntity) override;
  bool Select(const TObj& iEntity) override;
  bool HPCanSelect(THotPointData& HP) override;
  bool HPSelect(THotPointData&) override { return false; }
  bool MouseMove(const TPressedKeys& Keys, int x, int y) override;
  bool MouseDown(const TPressedKeys& Keys, int x, int y) override;
  bool MouseUp(const TPressedKeys& Keys, int x, int y) override;
  // Rebuilds everything that previews the command's result.
  virtual void RedrawPhantom();
  virtual void BeginPhantom() {}
  virtual void PreparePhantom() {}
  virtual void EndPhantom() {}

  void RefreshWindow();
  void StartProgress(const TString& CommonMessage, int MaxCount);
  void NextProgress(const TString& Message);
  void UpdateProgress(const TString& Message);
  void StopProgress();
  void SetPrompt(const TString& Prompt);

  // Value controls; the AddEditValue forms bind the caller's variable. Empty when no control was made.
  SmartPtr<txapi::IPropertyCheckBox> AddCheckBox(const TString& Name, const TString& Hint, bool Checked,
                                                 bool ReadOnly, bool NewStyle);
  SmartPtr<txapi::IPropertyEdit> AddEditReal(const TString& Name, const TString& Hint, const double& Value,
                                             bool ReadOnly);
  SmartPtr<txapi::IPropertyEdit> AddEditInt(const TString& Name, const TString& Hint, const int& Value,
                                            bool ReadOnly);
  SmartPtr<txapi::IPropertySpinEdit> AddSpinEditInt(const TString& Name, const TString& Hint, const int& Value,
                                                    int Min, int Max);
  SmartPtr<txapi::IPropertyPoint3D> AddEditPoint3D(const TString& Name, const TString& Hint, const TPoint3D& Value);
  SmartPtr<txapi::IPropertyPoint3D> AddEditPoint2D(const TString& Name, const TString& Hint, const TPoint2D& Value);
  SmartPtr<txapi::IPropertyEdit> AddEditStr(const TString& Name, const TString& Hint, const TString& Value,
                                            int Width);
  SmartPtr<txapi::IPropertyEditList> AddEditList(const TString& Name, const TString& Hint, bool htStyle);
  SmartPtr<txapi::IPropertyEditCheckBox> AddEditCheckBox(const TString& Name, const TString& Hint,
                                                         bool EnableDelete);
  SmartPtr<txapi::IPropertyCheckBox> AddEditValue(const TString& Name, const TString& Hint, bool& Value,
                                                  bool ReadOnly, bool NewStyle);
  SmartPtr<txapi::IPropertyEdit> AddEditValue(const TString& Name, const TString& Hint, double& Value,
                                              bool ReadOnly);
  SmartPtr<txapi::IPropertyEdit> AddEditValue(const TString& Name, const TString& Hint, double& Value,
                                              const double& K, bool ReadOnly);
  SmartPtr<txapi::IPropertyEdit> AddEditValue(const TString& Name, const TString& Hint, int& Value, bool ReadOnly);
  SmartPtr<txapi::IPropertySpinEdit> AddEditValue(const TString& Name, const TString& Hint, int& Value, int Min,
                                                  int Max, bool isDelta);
  SmartPtr<txapi::IPropertyEdit> AddEditValue(const TString& Name, const TString& Hint, TString& Value, int Width);
  SmartPtr<txapi::IPropertyPoint3D> AddEditValue(const TString& Name, const TString& Hint, TPoint3D& Value);
  SmartPtr<txapi::IPropertyPoint3D> AddEditValue(const TString& Name, const TString& Hint, TPoint2D& Value);

  // Object-selection controls: a list of picked faces, and one picked object (a planar face for
  // AddEditPlaneFace). The first of them becomes the current selection target.
  SmartPtr<txapi::IPropertyEditList> AddEditValue(const TString& Name, const TString& Hint,
                                                  drApi::TAOfComEntity& ValueFaces, bool ReadOnly, bool Visible,
                                                  txapi::txChooseManagerTypeEnum TE1);
  SmartPtr<txapi::IPropertyEditCheckBox> AddEditObj(const TString& Name, const TString& Hint, const TString& Value,
                                                    SmartPtr<txapi::IModelObject>& Entity, bool Visible,
                                                    txapi::txChooseManagerTypeEnum TE1, bool ReadOnly);
  SmartPtr<txapi::IPropertyEditCheckBox> AddEditPlaneFace(const TString& Name, const TString& Hint,
                                                          const TString& Value, SmartPtr<txapi::IModelObject>& Entity,
                                                          bool Visible, txapi::txChooseManagerTypeEnum TE1,
                                                          bool ReadOnly);

  // Manipulators; the identifier of each is the index of its binding. P lists primitive kinds, ended by
  // txMPNone.
  SmartPtr<txapi::IPlacement3DManipulator> AddManipulator(bool Visible, TMtr3D& Value,
                                                          txapi::txManipulatorPrimitiveEnum* P);
  SmartPtr<txapi::IEditDoubleManipulator> AddManipulatorEdit(bool Visible, double& Value, const TMtr3D& M);

  // Layout controls.
  SmartPtr<txapi::IPropertySeparator> AddSeparator(const wchar_t* pName, txapi::SeparatorTypeEnum typeSep);
  SmartPtr<txapi::IPropertyTab> AddTab(const TString& Name, bool Visible);
  SmartPtr<txapi::IPropertyTab> Tab(int I);
  SmartPtr<txapi::IPropertyFileName> AddFileNameStr(const TString& Name, const TString& Hint, TString& Value);
  SmartPtr<txapi::IPropertyColor> AddControlColor(const TString& Name, const TString& Hint);
  SmartPtr<txapi::IPropertyList> AddListInt(const TString& Name, const TString& Hint, int Current, const TArrayOf<int>& P);
  SmartPtr<txapi::IPropertyList> AddListReal(const TString& Name, const TString& Hint, int Current,
                                             const TArrayOf<double>& P);
  SmartPtr<txapi::IPropertyList> AddListStr(const TString& Name, const TString& Hint, const TArrayOf<TString>& AS);
  SmartPtr<txapi::IPropertyList> AddEditValue(const TString& Name, const TString& Hint, TAdapter& AS);
  SmartPtr<txapi::IPropertyGrid> AddGrid(const TString& Name, const TString& Hint, int Column, int Row,
                                         bool iReadOnly, int FColumn, int FRow);
  SmartPtr<txapi::IPropertySlideBox> AddSlideBox(const TString& Name, const TString& Hint, txapi::SlideTypeEnum ST,
                                                 SmartPtr<txapi::IDrawingGroup> Object);
  void* Addr(SmartPtr<txapi::IAPIObject>& E) const { return E.get(); }
  bool SetValue(SmartPtr<txapi::IPropertyList> List, const TString& Value);
  void Reset(SmartPtr<txapi::IPropertyList> List, const TArrayOf<TString>& A, int Current, const TString& Name);
  SmartPtr<txapi::IPropertyMultiButton> AddRadioButton(const TString& Name, const TString& Hint, int Checked,
                                                       std::initializer_list<TButtonData> L);
  SmartPtr<txapi::IPropertyMultiButton> AddPushButton(const TString& Name, int Checked,
                                                      std::initializer_list<TButtonData> L);
  void AddPushButtonTo(SmartPtr<txapi::IPropertyToolBar>& ToolBar, int Checked, std::initializer_list<TButtonData> L);
  void AddButtonTo(SmartPtr<txapi::IPropertyControl> TC, int IdButton, int IdBmp, const TString& Hint,
                   bool HyperLinkNameStyle);
  void AddCheckButtonTo(SmartPtr<txapi::IPropertyControl> TC, int IdButton, int IdBmpChecked, int IdBmpUnChecked,
                        const TString& Hint, bool HyperLinkNameStyle);

  // The shared third coordinate of every plane-point control.
  static double EmptyValue;

  bool Active = true;
  bool IsAdvise = false;
  std::int32_t ExitCode = 0;
  std::int32_t HelpContext = 0;
  TPickData Pick;
  TAPropertylVariable APropertyVariable;
  TDispatcherWnd3D& DispatcherWnd3D;
  TStatusBarOGL& StatusBar;
  THotPointsData* AHotPoint = nullptr;
  void* AHotPoint2 = nullptr;
  THotPointEdit* HotPointEdit = nullptr; // cleared by the editor when it goes
  TMeshDraw MeshDraw;
  SmartPtr<txapi::IDocumentFrame> Frame;
  TRect2DOf<int> FrameRect;
  SmartPtr<txapi::IProcessParam> ProcessParam;
  SmartPtr<txapi::IProcess> Process;
  TString ProcessHint;
  bool ProgressActive = false;
  TString ProgressMessage;
  TString ProgressMessageCurrent;
  std::int32_t ProgressMaxCount = 100;
  std::int32_t ProgressCount = 0;
  SmartPtr<txapi::IManipulators> Manipulators;
  SmartPtr<txapi::IPropertyTabs> PropertyTabs;
  SmartPtr<txapi::IPropertyTab> PropertyTab;
  SmartPtr<txapi::IPropertyControls> PropertyControls;
  SmartPtr<txapi::IPropertyControl> PropertyControl;

  // Whether the command's messages go into its status bar (a 2D command has no 3D view to show it).
  virtual bool HasStatusBar() const { return true; }

protected:
  TBaseManager();

  // Adds a control of the kind on the current tab, as interface I; empty when none was made.
  template <class I> SmartPtr<I> NewControl(txapi::ControlTypeEnum kind);
  // Appends a binding of the variable to the control.
  TPropertylVariable& Bind(TVariablePtr::TypeVarianble type, void* address, const SmartPtr<txapi::IAPIObject>& control);
  // The preview mesh whose host id is id; null when none.
  TMeshDrawObjectParam* MeshOfId(int id);
  // Whether the preview object (a hot point's marker or another preview mesh) may be picked (select false)
  // or is picked (select true), as the command's hot-point and mesh handlers say; 0 for no known preview.
  int PreviewDecision(const TObj& iEntity, bool select);
};

class TBaseManager3D : public TBaseManager
{
public:
  TBaseManager3D(const TString& Name, const TString& Hint, SpecPropertyToolBarEnum Stb, int HC,
                 const TString& NameTab, std::initializer_list<TButtonData>* pAB);
  ~TBaseManager3D() override;

  void Advise() override;
  void UnAdvise() override;
  bool SetPhantom(const TString& FileName);
  bool Run(bool Modal, bool iPostMessage);

  SmartPtr<txapi::IProcess3D> Process3D;
  SmartPtr<txapi::IPart> Phantom;
};

class TProcessManager2D : public TBaseManager
{
public:
  TProcessManager2D(const TString& Name, const TString& Hint, SpecPropertyToolBarEnum Stb, int HC,
                    const TString& NameTab, txapi::txProcess2DTypeEnum T);
  ~TProcessManager2D() override;

  void Advise() override;
  void UnAdvise() override;
  bool ButtonClick(int) override { return false; }
  bool PlacementChanged(double x, double y, double angle, bool dynamic) override;
  virtual void SetPhantom(txapi::txPhantomTypeEnum T);
  virtual void RedrawPhantom(double, double, double) {}
  virtual bool CreateObject(double, double, double) { return true; }
  using TBaseManager::RedrawPhantom;

  bool Run(bool Modal, bool PostMessage);
  void UpdateProcess();
  bool HasStatusBar() const override { return false; }

  SmartPtr<txapi::IProcess2D> Process2D;
  SmartPtr<txapi::IPhantom2D> Phantom2D;
  SmartPtr<txapi::IDrawingGroup> PhantomGroup;
};

#pragma GCC diagnostic pop
