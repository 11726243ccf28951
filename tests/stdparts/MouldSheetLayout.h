#pragma once
// The sheet of a mould part as the host lays it out, the part made by the sweeps' list at a size.
#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "txhost/lib/SvgWriter.h"

namespace stdtest {

// The layouts of every sheet the part named draws at size s (row s of its table, or its sizes by s / 2),
// its documents in dir of the host h; none when there is no such part.
inline std::vector<txhost::SvgLayout> MouldSheetLayouts(txhost::Host& h, const std::filesystem::path& dir,
                                                        const char* name, int s)
{
  TMouldDocuments link(adaptertest::T(dir) + TString("/"));
  const auto& parts = mouldparts::Parts;
  const auto part = std::find_if(std::begin(parts), std::end(parts),
                                 [name](const mouldparts::TPart& p) { return std::string(p.Name) == name; });
  std::vector<txhost::SvgLayout> sheets;
  if (part == std::end(parts)) return sheets;
  mouldparts::TMade made;
  part->Make(made, &drApi::MA, s, s / 2.0);
  made.Part().dr2D();
  for (const TString& file : link.AllSheets) {
    txhost::Object* doc = h.OpenDocument(std::filesystem::path(file.toWideChar()), false);
    if (doc == nullptr) continue;
    sheets.push_back(txhost::LayOut(*doc));
    h.CloseDocument(*doc);
  }
  return sheets;
}

// The layout of the last sheet the part named draws at size s; empty when it drew none.
inline txhost::SvgLayout MouldSheetLayout(txhost::Host& h, const std::filesystem::path& dir, const char* name,
                                          int s)
{
  std::vector<txhost::SvgLayout> sheets = MouldSheetLayouts(h, dir, name, s);
  return sheets.empty() ? txhost::SvgLayout{} : std::move(sheets.back());
}

} // namespace stdtest
