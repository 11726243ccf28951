#pragma once
// What the command framework needs of the host modeller's registry: the host application, the active
// document in its three forms, the progress bar and the library's icon font; and the modeller's help,
// selection and drawing-group services. The command bases reach the host through this one object, so
// that the registry of drApi::MA can stand behind it when the adapter provides those fields.
#include "hxcadkit/core/DString.h"
#include "txapi/IApplication.h"
#include "txapi/IProcess.h"
#include "txapi/ITavrixDocument.h"
#include "txapi/ITavrixDocument2D.h"
#include "txapi/ITavrixDocument3D.h"
#include "txapi/SmartPtr.h"

class TCommandHost
{
public:
  txapi::SmartPtr<txapi::IApplication> Application;
  txapi::SmartPtr<txapi::ITavrixDocument> IDoc;
  txapi::SmartPtr<txapi::ITavrixDocument3D> IDoc3D;
  txapi::SmartPtr<txapi::ITavrixDocument2D> IDoc2D;
  txapi::SmartPtr<txapi::IProgressBar> ProgressBar; // may be empty
  TString LibFont;                                    // the icon font of buttons with negative images

  TCommandHost();

  // Asks the application for its active document again and takes the document's 3D and 2D forms.
  void RefreshDocument();
  // Shows help topic context; file and command are not used. Nothing without an application.
  void OpenHelp(const TString& file, int command, int context);
  // The last help topic asked for; 0 when none.
  int LastHelpContext = 0;
  // Clear the host selection and the highlight; nothing while the host offers no selection service.
  void UnSelectAll();
  void UnChooseAll();
  // An empty drawing group in the active 2D document (opened and closed at once); empty without one.
  txapi::SmartPtr<txapi::IDrawingGroup> NewGroup();
  // Drops every host reference (before the host goes).
  void Release();
};

extern TCommandHost CommandHost;
