// The command framework's life under random host event sequences: commands are made, advised, run with
// scripted events (panel buttons and changes, mouse, keys, placements, activation), stopped with any code,
// run again and destroyed, while the host may fail a run. After every step the subscriptions that stand
// in the host match what the command believes, and once it is gone nothing stays subscribed or
// referenced.
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>

#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/commands/pmHost.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Host.h"

namespace {

class TFuzzCommand3D : public TBaseManager3D
{
public:
  TFuzzCommand3D() : TBaseManager3D(TString("f"), TString(""), txapi::pnEnterEscHelp, 9, TString("t"), nullptr)
  {
    AddEditValue(TString("r"), TString(""), R, false);
    AddEditValue(TString("i"), TString(""), I, 0, 9, true);
    AddEditValue(TString("p"), TString(""), P);
  }
  bool ButtonClick(int id) override
  {
    if (id == 1 || id == 2) Stop(id == 1 ? 0 : -1);
    return false;
  }
  double R = 0;
  int I = 0;
  TPoint3D P;
};

class TFuzzCommand2D : public TProcessManager2D
{
public:
  TFuzzCommand2D()
      : TProcessManager2D(TString("f"), TString(""), txapi::pnEnterEscHelp, 8, TString("t"), txapi::txProcess2DPlacement)
  {
    AddEditValue(TString("r"), TString(""), R, 10.0, false);
    SetPhantom(txapi::txMoveGroupPhantom);
  }
  bool ButtonClick(int id) override
  {
    Stop(id);
    return false;
  }
  double R = 0;
};

[[noreturn]] void Fail(const char* what)
{
  std::fprintf(stderr, "fuzz_commands: %s\n", what);
  std::abort();
}

// Every key holds all of its receiver's events or none; keys stand exactly while the command is advised.
void Check(txhost::Host& h, TBaseManager* c, bool is3D)
{
  const std::pair<const wchar_t*, int> keys[] = {{L"ReceiverFrameEvent", 14},
                                                 {L"ReceiverProcess3DManipulatorsEvent", 8},
                                                 {L"ReceiverProcess3DEvent", 11},
                                                 {L"ReceiverProcess2DEvent", 5},
                                                 {L"ReceiverPropertyManagerEvent", 16},
                                                 {L"ReceiverApplicationEvent", 19}};
  // Every key's count in one walk over the host's objects: the check runs after every step, and a walk per
  // key was a third of the target's own time.
  int got[std::size(keys)] = {};
  for (txhost::Object* o : h.Objects())
    if (const auto* list = o->FindExtra<txhost::EventSubscriptions>())
      for (const txhost::Subscription& sub : list->List)
        for (std::size_t k = 0; k < std::size(keys); ++k)
          if (sub.Key == keys[k].first) ++got[k];
  int total = 0;
  for (std::size_t k = 0; k < std::size(keys); ++k) {
    if (got[k] != 0 && got[k] != keys[k].second) Fail("a receiver is partly subscribed");
    total += got[k];
  }
  if (c == nullptr) {
    if (total != 0) Fail("subscriptions outlive their command");
    if (TBaseManager::CurrentProcessManager != nullptr) Fail("a destroyed command is still current");
    return;
  }
  if (c->IsAdvise != (total > 0)) Fail("the command's advice and the host's subscriptions differ");
  if (c->IsAdvise && got[5] == 0) Fail("advised without the application");
  if (!is3D && got[0] != 0) Fail("a 2D command listens to the frame");
}

struct TInput
{
  const uint8_t* P;
  size_t N;
  uint8_t Next()
  {
    if (N == 0) return 0;
    --N;
    return *P++;
  }
};

// Queues one scripted user action chosen by the input.
void QueueAction(txhost::EventScript& s, TInput& in)
{
  const uint8_t op = in.Next();
  const int a = in.Next();
  switch (op % 10) {
  case 0: s.Button(a % 10); break;
  case 1: s.ChangeControl(a % 2 ? L"r" : L"i", std::to_string(a - 128)); break;
  case 2: s.ChangeControl(L"p#" + std::to_wstring(a % 3), std::to_string(a)); break;
  case 3: s.Mouse(a % 3 == 0 ? "move" : a % 3 == 1 ? "down" : "up", a * 300 - 40000, -a); break;
  case 4: s.Key(a, 0); break;
  case 5: s.Place(a, -a, a % 360, a % 4 != 0); break;
  case 6: s.PanelActivate(a % 2 == 0); break;
  case 7: s.ButtonUpdate(a % 10); break;
  case 8: s.ControlCommand(L"r", a % 3); break;
  default: s.Stop(); break;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  TInput in{data, size};
  txhost::Host h;
  h.NewDocument(txapi::txDocumentAssembly, true);
  txhost::Object* drawing = nullptr;
  drApi::MA.R().Tavrix7 = &h.Application();
  std::unique_ptr<TBaseManager> command;
  bool is3D = true;
  txhost::EventScript& script = txhost::EventScript::Of(h);
  // A command builds its own drawing surface (a font of 256 glyphs, a status bar of 1024 texts): one
  // made on every eighth step took most of the time, some twenty inputs a second. Two per input still
  // make, replace and destroy commands in every order.
  int made = 0;
  for (int steps = 0; in.N > 0 && steps < 200; ++steps) {
    const uint8_t op = in.Next();
    switch (op % 8) {
    case 0: // a new command of either kind
      if (made == 2) break;
      ++made;
      command.reset();
      is3D = in.Next() % 2 == 0;
      if (!is3D && drawing == nullptr) drawing = h.NewDocument(txapi::txDocumentDrawing, true);
      h.SetActiveDocument(is3D ? h.Documents().front() : drawing);
      if (is3D)
        command = std::make_unique<TFuzzCommand3D>();
      else
        command = std::make_unique<TFuzzCommand2D>();
      break;
    case 1:
      if (command) command->RedrawPhantom();
      break;
    case 2: // run with a few scripted actions
      if (command) {
        for (int n = in.Next() % 6; n > 0; --n)
          QueueAction(script, in);
        if (is3D)
          static_cast<TFuzzCommand3D&>(*command).Run(true, false);
        else
          static_cast<TFuzzCommand2D&>(*command).Run(true, false);
        script.Clear();
      }
      break;
    case 3:
      if (command) command->Stop(int(in.Next() % 4) - 1);
      break;
    case 4:
      command.reset();
      break;
    case 5: // the host's next runs fail, or work again
      if (in.Next() % 2)
        h.GetFaults().ThrowOnCall(txhost::Target::OfKind(is3D ? "process-3d" : "process-2d"), "Run");
      else
        h.GetFaults().Clear();
      break;
    case 6:
      if (command) command->Active = !command->Active;
      break;
    default: // the registry changes a bound field
      if (command) {
        double& r = is3D ? static_cast<TFuzzCommand3D&>(*command).R : static_cast<TFuzzCommand2D&>(*command).R;
        TVariablePtr(r).Let(TString(double(in.Next()) - 100.5, 2, true));
      }
      break;
    }
    Check(h, command.get(), is3D);
  }
  command.reset();
  Check(h, nullptr, is3D);
  CommandHost.Release();
  drApi::MA.R().Tavrix7 = nullptr;
  if (!h.Referenced().empty()) Fail("the framework still holds host objects");
  return 0;
}
