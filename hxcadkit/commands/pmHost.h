#pragma once
// What the command framework needs of the host modeller's registry (drApi::MA): the host application,
// the active document in its three forms and the library's icon font; and the modeller's help, selection
// and drawing-group services. The command bases reach the host through this one object.
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/DString.h"
#include "txapi/IApplication.h"
#include "txapi/IProcess.h"
#include "txapi/IProgressBar.h"
#include "txapi/ITavrixDocument.h"
#include "txapi/ITavrixDocument2D.h"
#include "txapi/ITavrixDocument3D.h"
#include "txapi/SmartPtr.h"

class TCommandHost
{
public:
  txapi::IApplication* Application() const { return drApi::MA.R().Tavrix7; }
  txapi::SmartPtr<txapi::ITavrixDocument>& IDoc() const { return drApi::MA.R().IDoc; }
  txapi::SmartPtr<txapi::ITavrixDocument3D>& IDoc3D() const { return drApi::MA.R().IDoc3D; }
  txapi::SmartPtr<txapi::ITavrixDocument2D>& IDoc2D() const { return drApi::MA.R().IDoc2D; }
  txapi::SmartPtr<txapi::IExternalTessellationManager>& ITessellationMng() const { return drApi::MA.R().ITessellationMng; }
  const TString& LibFont() const { return drApi::MA.R().LibFont; }

  // The host's progress bar; may be empty.
  txapi::SmartPtr<txapi::IProgressBar>& ProgressBar() const { return drApi::MA.R().ProgressBar; }

  // Asks the application for its active document again and takes the document's 3D and 2D forms.
  void RefreshDocument();
  void OpenHelp(const TString& file, int command, int context);
  // Clear the host selection and the highlight (drApi::Selector); nothing while it holds no service.
  void UnSelectAll();
  void UnChooseAll();
  // An empty drawing group in the active 2D document (opened and closed at once); empty without one.
  txapi::SmartPtr<txapi::IDrawingGroup> NewGroup();
  // Drops the host references the framework keeps (before the host goes).
  void Release();
};

extern TCommandHost CommandHost;
