#include "hxcadkit/commands/pmHost.h"

TCommandHost CommandHost;

void TCommandHost::RefreshDocument()
{
  txapi::IApplication* app = Application();
  IDoc() = app != nullptr ? app->GetActiveDocument() : txapi::SmartPtr<txapi::ITavrixDocument>();
  IDoc3D() = IDoc();
  IDoc2D() = IDoc();
  ITessellationMng() = IDoc();
}

void TCommandHost::OpenHelp(const TString& file, int command, int context)
{
  drApi::MA.OpenHelp(file, command, context);
}

void TCommandHost::UnSelectAll()
{
  if (drApi::Selector != nullptr) drApi::Selector->UnSelectAll();
}

void TCommandHost::UnChooseAll()
{
  if (drApi::Selector != nullptr) drApi::Selector->UnChooseAll();
}

txapi::SmartPtr<txapi::IDrawingGroup> TCommandHost::NewGroup()
{
  if (!IDoc2D()) return {};
  txapi::SmartPtr<txapi::IDrawingGroup> group = IDoc2D()->NewDrawingGroup(true);
  if (group) {
    group->Open(1);
    group->Close();
  }
  return group;
}

void TCommandHost::Release()
{
  if (drApi::Selector != nullptr) drApi::Selector->End();
  ProgressBar() = nullptr;
  ITessellationMng() = nullptr;
  IDoc2D() = nullptr;
  IDoc3D() = nullptr;
  IDoc() = nullptr;
}
