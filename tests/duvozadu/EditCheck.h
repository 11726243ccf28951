#pragma once
// What the edit tests compare and choose: a document as the user has it, and the shafts of a coupling type no
// size takes both of.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>

#include "hxcadkit/core/TTable.h"

#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Value.h"

// Every object the document would save, in member order, with its kind and properties, a reference standing
// for the kind it leads to. The temporary drawing group an object was made in lives only while a command
// runs: which one it was is no part of the drawing.
inline std::string DocumentState(const txhost::Host& h, const txhost::Object& document)
{
  std::string text, error;
  if (!txhost::DocumentFileText(h, document, text, error)) return "cannot be written: " + error;
  const txhost::Value file = txhost::Value::parse(text);
  const txhost::Value& objects = file["objects"];
  std::function<txhost::Value(const txhost::Value&)> plain = [&](const txhost::Value& v) -> txhost::Value {
    if (v.is_object() && v.contains("$obj"))
      return v["$obj"].is_number() ? objects[v["$obj"].get<std::size_t>()]["kind"] : txhost::Value("outside");
    if (!v.is_structured()) return v;
    txhost::Value out = v;
    for (auto& item : out.items())
      item.value() = plain(item.value());
    return out;
  };
  std::function<txhost::Value(std::size_t)> node = [&](std::size_t i) {
    const txhost::Value& o = objects[i];
    txhost::Value props = plain(o.value("props", txhost::Value::object()));
    props.erase("group");
    txhost::Value members = txhost::Value::array();
    for (const txhost::Value& m : o.value("members", txhost::Value::array()))
      members.push_back(node(m.get<std::size_t>()));
    return txhost::Value{{"kind", o["kind"]}, {"props", props}, {"members", members}};
  };
  return node(0).dump(1);
}

// The smallest and the largest bore of a main table: no size of the shipped tables takes both.
inline std::pair<double, double> WidestBores(const TTable& main)
{
  double small = main.Row(0)[main.Control], large = small;
  for (int i = 0; i < main.CountRow; ++i) {
    small = std::min(small, main.Row(i)[main.Control]);
    large = std::max(large, main.Row(i)[main.Control]);
  }
  return {small, large};
}
