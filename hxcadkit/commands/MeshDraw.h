#pragma once
// The command's preview objects in the host, known by the id the host gives them.
#include "hxcadkit/core/TArray.h"

class TMeshDrawObjectParam
{
public:
  int Id = 0;    // the host's id; 0 for an entry without a host object
  int Type = 0;  // the kind of preview (a face, a hot point, ...)
  bool Show = true;
};

class TMeshDraw
{
public:
  explicit TMeshDraw(int count) : AObjectID(count, 64) {}

  int Count() const { return AObjectID.Count; }
  // Shows or hides preview i; nothing outside the list.
  void Visible(int i, bool show)
  {
    if (AObjectID.ValidIndex(i)) AObjectID[i].Show = show;
  }
  void HideAll()
  {
    for (int i = 0; i < AObjectID.Count; ++i)
      AObjectID[i].Show = false;
  }
  // Removes the previews from index from on.
  void Clear(int from)
  {
    if (from >= 0 && from < AObjectID.Count) AObjectID.Count = from;
  }
  // Removes the preview with the host id.
  void Remove(int id)
  {
    for (int i = AObjectID.Count - 1; i >= 0; --i)
      if (id != 0 && AObjectID[i].Id == id) AObjectID.Delete(i);
  }

  TArrayOf<TMeshDrawObjectParam> AObjectID;
};
