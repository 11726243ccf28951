#pragma once
// The sheet of a mould part as the host lays it out, the part made by the sweeps' list at a size.
#include <algorithm>
#include <filesystem>
#include <string>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "txhost/lib/SvgWriter.h"

namespace stdtest {

// The layout of the sheet of the part named at size s (row s of its table, or its sizes by s / 2), its
// documents in dir of the host h; empty when there is no such part or it drew no sheet.
inline txhost::SvgLayout MouldSheetLayout(txhost::Host& h, const std::filesystem::path& dir, const char* name,
                                          int s)
{
  TMouldDocuments link(adaptertest::T(dir) + TString("/"));
  const auto& parts = mouldparts::Parts;
  const auto part = std::find_if(std::begin(parts), std::end(parts),
                                 [name](const mouldparts::TPart& p) { return std::string(p.Name) == name; });
  if (part == std::end(parts)) return {};
  mouldparts::TMade made;
  part->Make(made, &drApi::MA, s, s / 2.0);
  made.Part().dr2D();
  if (link.AllSheets.empty()) return {};
  txhost::Object* doc = h.OpenDocument(std::filesystem::path(link.AllSheets.back().toWideChar()), false);
  if (doc == nullptr) return {};
  txhost::SvgLayout layout = txhost::LayOut(*doc);
  h.CloseDocument(*doc);
  return layout;
}

} // namespace stdtest
