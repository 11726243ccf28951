#pragma once
// Shared by the tests of the mould standard parts: the shipped standard-parts file loaded into
// ABaseDetail once per test program, streams of a chosen version, and a fixture with a recording
// modeller and a control model whose detail list receives the parts' codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "RecordingModeler.h"
#include "tests/stdparts/CodeSamples.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/ControlModel.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace stdtest {

// The folder of the shipped StdParts.tb.
// A requirement written alone on its sheet: not numbered, so without the blank that follows a number.
inline TString Alone(const TString& requirement)
{
  return requirement.SubStr(1, requirement.Length() - 1);
}

inline TString DataFolder()
{
  return TString(HXCAD_STDPARTS_DATA);
}

// Loads the shipped file into ABaseDetail (once: the collection reads once).
inline void LoadShipped()
{
  if (ABaseDetail.Activate) return;
  ABaseDetail.Set(DataFolder(), TString("StdParts.tb"));
  ABaseDetail.Init();
}

// A row of a table of the shipped file, its leading slot included.
inline std::vector<double> TableRow(int table, int row)
{
  TArrayOf<double> a;
  EXPECT_TRUE(ABaseDetail.Params(table, row, a));
  std::vector<double> v;
  for (int i = 0; i < a.Count; ++i)
    v.push_back(a[i]);
  return v;
}

// A memory stream of that version holding bytes (version 0: no header at all).
inline void Open(TKmfData& S, int version, const std::vector<unsigned char>& bytes)
{
  std::vector<unsigned char> v;
  if (version != 0) {
    v.assign(KmfHeaderSize, 0);
    const std::int32_t head[2] = {std::int32_t(0x017EDEDD), version};
    std::memcpy(v.data(), head, sizeof head);
  }
  v.insert(v.end(), bytes.begin(), bytes.end());
  if (v.empty()) v.push_back(0); // an empty stream is refused; one stray byte reads as nothing useful
  ASSERT_TRUE(S.from(v));
}

// The record a part writes, without the stream's header.
inline std::vector<unsigned char> Record(const TDetail& part)
{
  TKmfData S;
  part.toStream(S);
  std::vector<unsigned char> v;
  S.to(v);
  return std::vector<unsigned char>(v.begin() + KmfHeaderSize, v.end());
}

// Little-endian pieces of an expected record.
struct TBytes
{
  std::vector<unsigned char> B;
  TBytes& Bool(bool b)
  {
    B.push_back(b ? 1 : 0);
    return *this;
  }
  TBytes& Int(std::int32_t v)
  {
    const auto* p = reinterpret_cast<const unsigned char*>(&v);
    B.insert(B.end(), p, p + 4);
    return *this;
  }
  TBytes& Reals(std::initializer_list<double> vs)
  {
    for (double v : vs) {
      const auto* p = reinterpret_cast<const unsigned char*>(&v);
      B.insert(B.end(), p, p + 8);
    }
    return *this;
  }
};

// A call as one comparable line: its name, numbers and texts.
inline std::string Line(const TRecordingModeler::TCall& c)
{
  std::string s = c.Op;
  for (double a : c.A)
    (s += ' ') += std::to_string(a);
  for (const TString& x : c.S)
    (s += ' ') += x.Utf8Text();
  return s;
}

// The distinct ends of the lines and arcs of curves, in ascending order.
inline std::vector<std::pair<double, double>> Corners(const std::vector<TRecordingModeler::TCurve>& curves)
{
  std::vector<std::pair<double, double>> corners;
  for (const auto& c : curves)
    for (const auto& p : {std::pair(c.x1, c.y1), std::pair(c.x2, c.y2)})
      if (std::none_of(corners.begin(), corners.end(), [&p](const auto& q) {
            return std::hypot(p.first - q.first, p.second - q.second) < 1e-9;
          }))
        corners.push_back(p);
  std::sort(corners.begin(), corners.end());
  return corners;
}

// Each corner within 1e-9 of the expected one.
inline void ExpectCorners(const std::vector<std::pair<double, double>>& corners,
                          const std::vector<std::pair<double, double>>& expected)
{
  ASSERT_EQ(corners.size(), expected.size());
  for (std::size_t i = 0; i < corners.size(); ++i) {
    EXPECT_NEAR(corners[i].first, expected[i].first, 1e-9) << i;
    EXPECT_NEAR(corners[i].second, expected[i].second, 1e-9) << i;
  }
}

// A recording modeller and a control model with ten detail records installed as the library's.
class TPartsTest : public ::testing::Test
{
protected:
  TPartsTest() : CM(TString("state"), TString("help"))
  {
    LoadShipped();
    for (int i = 0; i < 10; ++i)
      Details[i].Number = i;
    CM.SetDetails(Details, 10);
    OldModel = drApi::PControlModel;
    drApi::PControlModel = &CM;
  }
  ~TPartsTest() override { drApi::PControlModel = OldModel; }

  TRecordingModeler Md;
  TControlModel CM;
  TControlModel::dcDetail Details[10];

private:
  TControlModel* OldModel = nullptr;
};

} // namespace stdtest
