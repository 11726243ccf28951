#pragma once
// TProtector: keep-out zones (closed contours) and the searches that place round features clear
// of them, either at the four corners of an axis-aligned rectangle or as two pairs mirrored
// about the Y axis. A circle or contour is admissible when no zone contour finds it (it neither
// lies in nor crosses a zone).
//
// The rectangle search tests its corners in four worker threads that live for one call. The
// zone list is only read while they run.
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/Mathemat.h"

// One keep-out zone. The protector owns Cont.
struct TProtectContour
{
  Integer Id = 0;
  Integer Typ = 0;
  TContour* Cont = nullptr;
};

// True while every circle tested for the current step of a rectangle search is admissible; a
// worker that finds a circle touching a zone clears it.
extern std::atomic<bool> ResultOk;

class TProtector : public TArrayOf<TProtectContour>
{
public:
  TProtector() = default;
  TProtector(const TProtector&) = delete;
  TProtector& operator=(const TProtector&) = delete;
  ~TProtector();

  // Takes ownership of Cont; a null contour or one without members is ignored (and not taken).
  void AddProtectContour(TContour* Cont);
  // A new empty zone for the caller to fill; EndProtectContour brings its box up to date.
  TContour* BeginProtectContour();
  void EndProtectContour();
  // Deletes every zone contour and empties the list.
  void Clear();

  Boolean Admissible(const TContour& C) const;
  Boolean Admissible(double X, double Y, double R) const;
  // The union of the zones' boxes; all zeros without zones.
  void GabaritProtect(TRect2D& G) const;
  // Records every zone on the surface, dash-dotted (ContourGI.cpp).
  void Draw(TGImage& GI) const;

  // Corner circles of radius Radius on the grid of Step: preferably within iO, their centres
  // enclosing PA. True with the best rectangle of centres in Xl, Yd, Xr, Yu; false leaves them.
  // With Opt false the search limits may widen when nothing admissible is found.
  Boolean PlaceByRectAngle(const TRect2D& iO, double Radius, const TRect2D& PA, double& Xl, double& Yd,
                           double& Xr, double& Yu, int Step, bool Opt) const;
  // Two mirrored pairs inside the o-region and outside the s-region (both by Radius): the upper
  // pair (+-Xu, Yu) right of and above the s-region, the lower pair (+-Xd, Yd) left of and
  // below it. False leaves the outputs.
  Boolean PlaceBySymmetryY(double oXl, double oYd, double oXr, double oYu, double Radius, double sXl,
                           double sYd, double sXr, double sYu, double& Xu, double& Yu, double& Xd, double& Yd,
                           int Step, bool Opt) const;
};

// One worker's mailbox. The caller hands a circle over with NotifyInput and collects the
// verdict with NotifyResult; the worker answers one circle at a time.
class TFThreadAdmissibleParam
{
public:
  explicit TFThreadAdmissibleParam(const TProtector& P);
  ~TFThreadAdmissibleParam();
  TFThreadAdmissibleParam(const TFThreadAdmissibleParam&) = delete;
  TFThreadAdmissibleParam& operator=(const TFThreadAdmissibleParam&) = delete;

  // Waits until the previous circle is answered, then hands over the new one.
  void NotifyInput(double X, double Y, double R);
  // Waits until the latest circle handed over is answered.
  void NotifyResult();
  // Asks the worker to end.
  void NotifyStop();

  const TProtector& Protector;
  TCircle C;
  std::mutex mtx;
  std::condition_variable cv;
  // dataReady: a circle waits for its answer. Result: the latest circle was tested through and
  // is admissible. Decided: the latest test reached a verdict (it was not cut short because
  // another worker had already cleared ResultOk).
  bool dataReady = false;
  bool Result = false;
  bool Decided = false;
  bool Stop = false;

private:
  friend void TFThreadAdmissible(TFThreadAdmissibleParam& P);
  // Curves fill caches inside their const evaluations, so each worker tests against its own
  // copies of the zone contours; the boxes are the zones' cached ones.
  std::vector<TRect2D> Boxes;
  std::vector<std::unique_ptr<TContour>> Zones;
};

// The worker's body: answers circles until its mailbox is stopped.
void TFThreadAdmissible(TFThreadAdmissibleParam& P);
