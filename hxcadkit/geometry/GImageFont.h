#pragma once
// The built-in vector font: 256 outline glyphs, one per Windows-1251 code, carried inside the
// library as one stream block (FontGlifData). Each glyph becomes an OpenGL display list
// through GLU tessellation; strings are measured in hundredths of a glyph unit.
#include <GL/gl.h>

#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "hxcadkit/geometry/Mathemat3d.h"

// The font block: a complete stream image (header, list base, 256 glyph records).
extern const unsigned char FontGlifData[];
extern const int FontGlifDataSize;

// The tessellator's vertex callback: the vertex data is the point's three doubles.
struct TGluTesselator
{
  static void VertexOut(void* vertex);
};

class TCharGlif : public TArrayOf<TPoint2D>
{
public:
  // Glyph metrics in glyph units; the origin is the inked box's upper left corner.
  struct TMetrics
  {
    double gmBlackBoxX = 0;
    double gmBlackBoxY = 0;
    TPoint2D gmptGlyphOrigin;
    double gmCellIncX = 0;
    double gmCellIncY = 0;

    void toStream(TKmfData& S) const;
    void fromStream(TKmfData& S);
  };

  TCharGlif();
  ~TCharGlif() override;

  void toStream(TKmfData& S) const;
  // A record whose contour starts do not fit its points (not ascending from 0, or past the
  // last point) loses its outline: it keeps its metrics and draws nothing.
  void fromStream(TKmfData& S);
  // Compiles the outline into list iListOGL; no list (ListOGL 0) without points or contours.
  void MakeListOGL(GLuint iListOGL);
  void Draw() const;
  TRect2D GetRect() const;
  // Drops points closer than 1 to their predecessor and the first point of an edge that
  // crosses the edge before the previous one; the contour starts follow the removals.
  void CheckSelfInterSect();

  GLuint ListOGL = 0;
  TMetrics GM;
  TArrayOf<TPoint3D> Points;
  TArrayOf<int> Contours; // index in Points of each contour's first point

private:
  void KeepPoints(const std::vector<bool>& keep);
};

class TFontGlif
{
public:
  explicit TFontGlif(Integer iListBase = 2000) : ListBase(iListBase) {}

  void Load(const unsigned char* Data, int CountData);
  void toStream(TKmfData& S) const;
  void fromStream(TKmfData& S);
  void MakeListOGL();
  // Width and height of the first Position bytes of Text, glyph units / 100.
  double Len(const TString& Text, int Position) const;
  double Height(const TString& Text, int Position) const;
  void drStr(const TString&) {}

  Integer ListBase;
  bool Init = false;
  TCharGlif ACharGlif[256];
};
