// Stream forms of the value types: the exact bytes written, and reads of whole and of
// truncated data (the missing values read as zeros and the stream's error flag is set).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "CurveTestUtil.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "hxcadkit/geometry/Mathemat3d.h"

namespace {

using curvetest::Bytes;
using curvetest::Doubles;

// The data bytes (after the stream header) that write puts on a memory stream.
Bytes Written(const std::function<void(TKmfData&)>& write)
{
  TKmfData S;
  write(S);
  Bytes all;
  S.to(all);
  return Bytes(all.begin() + KmfHeaderSize, all.end());
}

// A stream holding the data bytes, of which only the first keep are left.
struct Reader
{
  TKmfData S;
  Reader(const Bytes& data, std::size_t keep)
  {
    TKmfData W;
    W.BlockWrite(data.data(), unsigned(std::min(keep, data.size())));
    Bytes all;
    W.to(all);
    S.from(all);
  }
};

TEST(GeometryStream, PlaneFormsAreRawDoubles)
{
  EXPECT_EQ(Written([](TKmfData& S) { TPoint2D(1.5, -2).Write(S); }), Doubles({1.5, -2}));
  EXPECT_EQ(Written([](TKmfData& S) { TVector2D(3, 4).Write(S); }), Doubles({3, 4}));
  EXPECT_EQ(Written([](TKmfData& S) { TRect2D(1, 2, 3, 4).toStream(S); }), Doubles({1, 2, 3, 4}));
  const TMtr2D m(10, 20, 90, 2);
  EXPECT_EQ(Written([&](TKmfData& S) { m.toStream(S); }),
            Doubles({m.V[0], m.V[1], m.V[2], m.V[3], m.V[4], m.V[5], 10, 20, 1}));
  TArrayOfReal a;
  a.Set(0, 1.25);
  const Bytes block = Written([&](TKmfData& S) { a.toStream(S); });
  ASSERT_EQ(block.size(), 800u);
  double first, last;
  std::memcpy(&first, block.data(), 8);
  std::memcpy(&last, block.data() + 792, 8);
  EXPECT_EQ(first, 1.25);
  EXPECT_EQ(last, TArrayOfReal::ChaosValue);
  unsigned char p[3] = {1, 2, 3};
  EXPECT_EQ(Written([&](TKmfData& S) { StreamBlockWrite(S, p, 3); }), (Bytes{1, 2, 3}));
}

TEST(GeometryStream, SpatialFormsAreRawDoubles)
{
  EXPECT_EQ(Written([](TKmfData& S) { S << TPoint3D(1, 2, 3); }), Doubles({1, 2, 3}));
  const TCube3D c(TPoint3D(1, 2, 3), TPoint3D(4, 5, 6));
  EXPECT_EQ(Written([&](TKmfData& S) { S << c; }), Doubles({1, 2, 3, 4, 5, 6}));
  TMtr3D m;
  m.IdentityMove(7, 8, 9);
  EXPECT_EQ(Written([&](TKmfData& S) { m.toStream(S); }),
            Doubles({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 8, 9, 1}));
  const TPlacement3D F(TPoint3D(1, 2, 3), TVector3D(0, 0, 1));
  EXPECT_EQ(Written([&](TKmfData& S) { F.toStream(S); }), Doubles({1, 2, 3, 0, 1, 0, -1, 0, 0, 0, 0, 1}));
}

// Every reader, cut at every byte: the values present are read, the rest come out as zeros,
// and the stream tells the reader its data ran out.
TEST(GeometryStream, TruncatedDataReadsAsZeros)
{
  struct Case
  {
    const char* name;
    std::function<void(TKmfData&)> write;
    std::function<std::vector<double>(TKmfData&)> read;
  };
  TMtr3D m3;
  m3.IdentityMove(7, 8, 9);
  const Case cases[] = {
      {"TPoint2D", [](TKmfData& S) { TPoint2D(1, 2).Write(S); },
       [](TKmfData& S) {
         TPoint2D p(9, 9);
         p.Read(S);
         return std::vector<double>{p.x, p.y};
       }},
      {"TRect2D", [](TKmfData& S) { TRect2D(1, 2, 3, 4).toStream(S); },
       [](TKmfData& S) {
         TRect2D r;
         r.fromStream(S);
         return std::vector<double>{r.LD.x, r.LD.y, r.RU.x, r.RU.y};
       }},
      {"TMtr2D", [](TKmfData& S) { TMtr2D(10, 20, 0, 1).toStream(S); },
       [](TKmfData& S) {
         TMtr2D m(5, 5, 5, 5);
         m.fromStream(S);
         return std::vector<double>(m.V, m.V + 9);
       }},
      {"TMtr3D", [&](TKmfData& S) { m3.toStream(S); },
       [](TKmfData& S) {
         TMtr3D m;
         m.Multiply(3.0);
         m.fromStream(S);
         return std::vector<double>(m.V, m.V + 16);
       }},
      {"TPlacement3D", [](TKmfData& S) { TPlacement3D(TPoint3D(1, 2, 3), TVector3D(1, 0, 0)).toStream(S); },
       [](TKmfData& S) {
         TPlacement3D F;
         F.fromStream(S);
         return std::vector<double>{F.O.x,  F.O.y,  F.O.z,  F.AX.x, F.AX.y, F.AX.z,
                                    F.AY.x, F.AY.y, F.AY.z, F.AZ.x, F.AZ.y, F.AZ.z};
       }},
      {"TCube3D", [](TKmfData& S) { S << TCube3D(TPoint3D(1, 2, 3), TPoint3D(4, 5, 6)); },
       [](TKmfData& S) {
         TCube3D c;
         S >> c;
         return std::vector<double>{c.Min.x, c.Min.y, c.Min.z, c.Max.x, c.Max.y, c.Max.z};
       }},
      {"TArrayOfReal",
       [](TKmfData& S) {
         TArrayOfReal a;
         for (int i = 0; i < TArrayOfReal::Count; ++i)
           a.Set(i, i + 1);
         a.toStream(S);
       },
       [](TKmfData& S) {
         TArrayOfReal a;
         a.fromStream(S);
         return std::vector<double>(a.V, a.V + TArrayOfReal::Count);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes data = Written(c.write);
    Reader whole(data, data.size());
    const std::vector<double> full = c.read(whole.S);
    EXPECT_FALSE(whole.S.ErrorReadFromFileToBufer);
    for (std::size_t keep = 0; keep < data.size(); ++keep) {
      Reader cut(data, keep);
      const std::vector<double> got = c.read(cut.S);
      ASSERT_EQ(got.size(), full.size());
      EXPECT_TRUE(cut.S.ErrorReadFromFileToBufer) << keep;
      for (std::size_t i = 0; i < got.size(); ++i) {
        if ((i + 1) * 8 <= keep) {
          EXPECT_EQ(got[i], full[i]) << keep << ":" << i;
        } else if (i * 8 >= keep) {
          EXPECT_EQ(got[i], 0.0) << keep << ":" << i;
        }
      }
    }
  }
}

} // namespace
