// Facets of documents.

#include "txapi/IPart.h"
#include "txapi/ITavrixDocument.h"
#include "txapi/ITavrixDocument2D.h"
#include "txapi/ITavrixDocument3D.h"
#include "txapi/IProcess.h"
#include "txapi/ITavrixAPIObject.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Text.h"

namespace txhost::facets {

namespace {

class TavrixDocumentFacet final : public Facet<txapi::ITavrixDocument>
{
public:
  using Facet::Facet;

  txapi::DocumentTypeEnum GetType() override
  {
    Log("GetType");
    return txapi::DocumentTypeEnum(Host::DocumentType(Model()));
  }

  std::wstring GetFullFileName() override
  {
    Log("GetFullFileName");
    return Model().Text("path");
  }

  bool Save() override
  {
    Log("Save");
    return ModelHost().SaveDocument(Model());
  }

  bool SaveAs(const std::wstring& fileName) override
  {
    Log("SaveAs", fileName);
    return ModelHost().SaveDocumentAs(Model(), ToPath(fileName));
  }

  bool Close(txapi::DocumentCloseOptions option) override
  {
    Log("Close", option);
    Host& host = ModelHost();
    if (!host.IsOpen(Model())) return false;
    bool save = option == txapi::txCloseSaveChanges;
    if (option == txapi::txCloseAskUser) save = host.NextAnswer();
    // A document whose changes cannot be saved stays open, so that nothing is lost.
    if (save && !host.SaveDocument(Model())) return false;
    return host.CloseDocument(Model());
  }

  void Activate() override
  {
    Log("Activate");
    ModelHost().SetActiveDocument(&Model());
  }

  txapi::SmartPtr<txapi::IDocumentFrame> GetDocumentFrame() override
  {
    Log("GetDocumentFrame");
    if (HandOutRefused("GetDocumentFrame")) return {};
    return HandOut<txapi::IDocumentFrame>(&DocumentFrame(ModelHost(), Model()));
  }
};

class TavrixDocument2DFacet final : public Facet<txapi::ITavrixDocument2D>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IProcess2D> NewProcess2D(txapi::txProcess2DTypeEnum type) override
  {
    Log("NewProcess2D", type);
    if (HandOutRefused("NewProcess2D")) return {};
    return HandOut<txapi::IProcess2D>(&NewProcess(ModelHost(), Model(), false));
  }

  txapi::SmartPtr<txapi::IDrawingGroup> NewDrawingGroup(bool temporary) override
  {
    Log("NewDrawingGroup", temporary);
    if (HandOutRefused("NewDrawingGroup")) return {};
    return HandOut<txapi::IDrawingGroup>(&txhost::NewDrawingGroup(ModelHost(), Model(), temporary));
  }
};

class TavrixDocument3DFacet final : public Facet<txapi::ITavrixDocument3D>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IPart> GetTopPart() override
  {
    Log("GetTopPart");
    Host& host = ModelHost();
    if (!host.IsOpen(Model()) || HandOutRefused("GetTopPart")) return {};
    return HandOut<txapi::IPart>(host.TopPart(Model()));
  }

  bool IsEditMode() override
  {
    Log("IsEditMode");
    return InEditMode(Model());
  }

  txapi::SmartPtr<txapi::ITavrixAPIObject> GetEditedPart() override
  {
    Log("GetEditedPart");
    return HandOut<txapi::ITavrixAPIObject>(EditedPart(Model()));
  }

  txapi::SmartPtr<txapi::IProcess3D> NewProcess3D(int mode) override
  {
    Log("NewProcess3D", mode);
    if (HandOutRefused("NewProcess3D")) return {};
    return HandOut<txapi::IProcess3D>(&NewProcess(ModelHost(), Model(), true));
  }
};

} // namespace

FacetEntry TavrixDocument()
{
  return Offer<TavrixDocumentFacet>("ITavrixDocument");
}
FacetEntry TavrixDocument2D()
{
  return Offer<TavrixDocument2DFacet>("ITavrixDocument2D");
}
FacetEntry TavrixDocument3D()
{
  return Offer<TavrixDocument3DFacet>("ITavrixDocument3D");
}

} // namespace txhost::facets
