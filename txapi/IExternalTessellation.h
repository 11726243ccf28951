#pragma once

// Display objects that a library draws into the host's 3D view itself: triangle meshes, polylines and
// texts, made by a 3D document's tessellation manager and known by the int id the host gives each.

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <array>
#include <string>
#include <vector>

namespace txapi {

// A mesh of triangles or polylines shown in the view until it is removed.
class IExternalTessellationObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"5d8e2f1a-6b3c-4e47-9f05-a1c2d3e4b6f7"};

  // points: x, y, z per vertex; triangles: vertex index triples; normals as the points; colours per vertex.
  virtual void SetTriangles(const std::vector<float>& points, const std::vector<int>& triangles,
                            const std::vector<float>& normals, const std::vector<unsigned>& colors) = 0;
  // groups: a count n, then n vertex indices, repeated.
  virtual void SetPolyLines(const std::vector<float>& points, const std::vector<int>& groups,
                            const std::vector<unsigned>& colors) = 0;
  virtual void SetLineStyles(const std::vector<int>& styles) = 0;
  virtual void SetColor(int color, double ambient, double diffuse, double specularity, double shininess,
                        double transparency, double emission) = 0;
  // The 16 entries of a placement matrix, row by row, the origin in row 3.
  virtual void SetMatrix(const std::vector<double>& matrix) = 0;
  // The host's three settings of how the object follows the view's scale; their meaning is the host's.
  virtual void SetScaleSetting1(bool value) = 0;
  virtual void SetScaleSetting2(bool value) = 0;
  virtual void SetScaleSetting3(bool value) = 0;
  virtual void SetDisableDepthTest(bool value) = 0;
  virtual void SetNonPickable(bool value) = 0;
  // The host's two-argument setting, given after the triangles; its meaning is the host's.
  virtual void SetOption(int option, bool value) = 0;
  virtual void SetVisible(bool visible) = 0;
  // Never 0, unique among the host's display objects.
  virtual int GetId() = 0;
  // Ends the library's use of the object (before its last reference goes).
  virtual void Close() = 0;

protected:
  ~IExternalTessellationObject() = default;
};

// Texts at model points.
class IExternalTextObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"b7c4a9e2-3d1f-4a68-8e52-0f9d6c3b2a14"};

  virtual void SetTexts(const std::vector<std::wstring>& texts, const std::vector<std::array<double, 3>>& positions,
                        const std::vector<SmartPtr<IAPIObject>>& objects, bool value) = 0;
  // The host's three text settings; their meaning is the host's.
  virtual void SetTextSetting1(int value) = 0;
  virtual void SetTextSetting2(int value) = 0;
  virtual void SetTextSetting3(int value) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual int GetId() = 0;

protected:
  ~IExternalTextObject() = default;
};

// A 3D document's maker of display objects.
class IExternalTessellationManager : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e3f6b2d9-8a47-4c1e-b05d-7c9a2e1f4d63"};

  // Empty when the host makes none.
  virtual SmartPtr<IExternalTessellationObject> CreateTessellationObject() = 0;
  virtual SmartPtr<IExternalTextObject> CreateTextObject() = 0;
  // Takes the objects with these ids out of the view.
  virtual void RemoveObjects(const std::vector<int>& ids) = 0;

protected:
  ~IExternalTessellationManager() = default;
};

} // namespace txapi
