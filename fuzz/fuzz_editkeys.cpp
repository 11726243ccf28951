// Keys typed into an in-view field bound to a real, an integer or a text: whatever the sequence, the
// caret stays inside the text, accepted text is acceptable to the field's validator, Escape shows the
// variable again and Enter never takes a text the variable cannot read.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "hxcadkit/commands/TPopUpEdit.h"
#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/commands/pmHost.h"
#include "txhost/lib/Host.h"

namespace {

void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_editkeys: %s\n", what);
    std::abort();
  }
}

class TFieldCommand : public TBaseManager3D
{
public:
  TFieldCommand() : TBaseManager3D(TString("f"), TString(""), txapi::pnEnterEscHelp, 9, TString("t"), nullptr) {}
};

const int kSpecial[] = {8, 13, 27, 37, 39, 46, 16, 189, 190, 255};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size < 1) return 0;
  txhost::Host h;
  h.NewDocument(txapi::txDocumentAssembly, true);
  drApi::MA.R().Tavrix7 = &h.Application();
  {
    TFieldCommand c;
    double real = 12.5;
    int integer = 7;
    TString text("ab");
    TVariablePtr v = data[0] % 3 == 0 ? TVariablePtr(real) : data[0] % 3 == 1 ? TVariablePtr(integer) : TVariablePtr(text);
    auto* field = new TValidateEdit(&c, TPoint3D(0, 0, 0), v, 20000);
    const int id = field->Id;
    field->SetFocus();
    const txapi::SmartPtr<txapi::IPressedKeys> keys;
    for (std::size_t i = 1; i + 1 < size && c.DispatcherWnd3D.Exist(id) != nullptr; i += 2) {
      int key = data[i] < 20 ? kSpecial[data[i] % 10] : (data[i] << 8 | data[i + 1]) % 1001;
      const double realBefore = real;
      const int integerBefore = integer;
      field->OnKeyDown(key, 0, keys);
      const TString& t = field->GetText();
      Check(0 <= field->BeginSelect && field->BeginSelect <= t.Length(), "caret outside the text");
      Check(field->EndSelect == field->BeginSelect, "a selection after a key");
      if (TValidator* val = field->GetValidator())
        Check(t.Empty() || val->IsValidInput(t.PChar(), true) || key == 27 || key == 13, "field holds a refused text");
      if (key == 27) Check(t == v.GetText(), "Escape does not show the variable");
      if (key == 13 && !t.IsNumeric()) Check(real == realBefore && integer == integerBefore, "Enter took an unreadable text");
    }
  }
  CommandHost.Release();
  drApi::MA.R().Tavrix7 = nullptr;
  return 0;
}
