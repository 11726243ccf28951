#include "hxcadkit/core/Messager.h"

#include "hxcadkit/core/Dictionary.h"

// The channel object has no state, so it is constant-initialised: Messager is usable from the
// first moment of loading, whatever order the other units' globals are built in.
struct TMessagerInstance
{
  static TMessager One;
};
constinit TMessager TMessagerInstance::One;

constinit TMessager* Messager = &TMessagerInstance::One;

namespace {
constinit TCommandLink* CommandLink = nullptr;
constinit TModelerLink* ModelerLink = nullptr;
constinit TTranslatorLink* TranslatorLink = nullptr;

bool CommandRunning()
{
  return CommandLink && CommandLink->Running();
}

// The host's message box; nothing is shown while no modeller exists.
void HostBox(const TString& text)
{
  if (ModelerLink && ModelerLink->Exists()) ModelerLink->LiftBox(text);
}
} // namespace

TMessager& TMessager::Instance()
{
  return TMessagerInstance::One;
}

TCommandLink* TMessager::SetCommandLink(TCommandLink* link)
{
  TCommandLink* old = CommandLink;
  CommandLink = link;
  return old;
}

TModelerLink* TMessager::SetModelerLink(TModelerLink* link)
{
  TModelerLink* old = ModelerLink;
  ModelerLink = link;
  return old;
}

TTranslatorLink* TMessager::SetTranslatorLink(TTranslatorLink* link)
{
  TTranslatorLink* old = TranslatorLink;
  TranslatorLink = link;
  return old;
}

void TMessager::LiftBox(const TString& text, TOut out) const
{
  if (out == toApi) {
    HostBox(text);
  } else if (CommandRunning()) {
    CommandLink->LiftBox(text, LiftTime);
  } else if (out != toProcess) {
    HostBox(text);
  }
}

void TMessager::DebugBox(const TString& text) const
{
  if (CommandRunning())
    CommandLink->LiftBox(text, NoticeTime);
  else
    HostBox(text);
}

void TMessager::WarningBox(const TString& text) const
{
  if (CommandRunning())
    CommandLink->StatusBox(text, NoticeTime);
  else
    HostBox(text);
}

void TMessager::StatusBox(const TString& text, int time) const
{
  if (CommandRunning()) CommandLink->StatusBox(text, time);
}

void TMessager::BreakLiftBox(const TString& text) const
{
  HostBox(text);
}

bool TMessager::QuestionBox(const TString& text, bool flag) const
{
  if (!flag) return false;
  if (!ModelerLink || !ModelerLink->Exists()) return true;
  return ModelerLink->QuestionBox(text, TString()) != 0;
}

const TString& DC(const TString& text)
{
  Integer i = Dictionary.IBufer;
  if (i < 0 || i >= TDictionary::CountBufer) i = 0;
  Dictionary.IBufer = i + 1 < TDictionary::CountBufer ? i + 1 : 0;
  TString& slot = Dictionary.Bufer[i];
  slot.SetSize(1024);
  if (TranslatorLink && TranslatorLink->Available()) {
    // The wide form is taken before the slot changes: text may be the slot itself.
    std::wstring answer =
        TranslatorLink->Translate(std::wstring(text.toWideChar(), std::size_t(text.Length())));
    slot = answer;
  } else if (&slot != &text) {
    slot = text;
  }
  return slot;
}
