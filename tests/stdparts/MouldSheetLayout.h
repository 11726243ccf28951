#pragma once
// The sheet of a mould part as the host lays it out, the part made by the sweeps' list at a size.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "txhost/lib/SvgWriter.h"

namespace stdtest {

// The layouts of every sheet the part named draws at row `row` of its table, or with its sizes by k where it
// has none, `edit` changing the part before it is drawn; its documents in dir of the host h; none when there
// is no such part. Each sheet is also written as SVG under HXCAD_KEEP_SHEETS, named by `keep` and its number.
inline std::vector<txhost::SvgLayout> MouldSheetLayouts(
    txhost::Host& h, const std::filesystem::path& dir, const std::string& name, int row, double k,
    const std::function<void(TDetail&)>& edit = [](TDetail&) {}, const std::string& keep = {})
{
  TMouldDocuments link(adaptertest::T(dir) + TString("/"));
  const auto& parts = mouldparts::Parts;
  const auto part = std::find_if(std::begin(parts), std::end(parts),
                                 [&name](const mouldparts::TPart& p) { return p.Name == name; });
  std::vector<txhost::SvgLayout> sheets;
  if (part == std::end(parts)) return sheets;
  mouldparts::TMade made;
  part->Make(made, &drApi::MA, row, k);
  edit(*made.Parts.back());
  made.Part().dr2D();
  const char* kept = std::getenv("HXCAD_KEEP_SHEETS");
  for (const TString& file : link.AllSheets) {
    txhost::Object* doc = h.OpenDocument(std::filesystem::path(file.toWideChar()), false);
    if (doc == nullptr) continue;
    if (kept != nullptr)
      txhost::SaveSvg(*doc, std::filesystem::path(kept) / ((keep.empty() ? name : keep) + "-" +
                                                           std::to_string(sheets.size() + 1) + ".svg"));
    sheets.push_back(txhost::LayOut(*doc));
    h.CloseDocument(*doc);
  }
  return sheets;
}

// The same at size s: row s of the part's table, or its sizes by s / 2.
inline std::vector<txhost::SvgLayout> MouldSheetLayouts(txhost::Host& h, const std::filesystem::path& dir,
                                                        const char* name, int s)
{
  return MouldSheetLayouts(h, dir, name, s, s / 2.0);
}

// The layout of the last sheet the part named draws at size s; empty when it drew none.
inline txhost::SvgLayout MouldSheetLayout(txhost::Host& h, const std::filesystem::path& dir, const char* name,
                                          int s)
{
  std::vector<txhost::SvgLayout> sheets = MouldSheetLayouts(h, dir, name, s);
  return sheets.empty() ? txhost::SvgLayout{} : std::move(sheets.back());
}

} // namespace stdtest
