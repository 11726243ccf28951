#include "txapi/txapi.h"
#include "txhost/lib/Host.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using txapi::SmartPtr;
using txhost::Host;
using txhost::Object;

class SmartPtrTest : public ::testing::Test
{
protected:
  SmartPtr<txapi::ITavrixDocument> NewDocument(txapi::DocumentTypeEnum type)
  {
    return H.Application().GetDocuments()->Add(type, true);
  }
  static int Refs(const SmartPtr<txapi::ITavrixDocument>& d) { return Object::From(d.get())->RefCount(); }

  Host H;
};

TEST_F(SmartPtrTest, DefaultHolderIsEmpty)
{
  SmartPtr<txapi::IPart> p;
  EXPECT_FALSE(p);
  EXPECT_TRUE(p.empty());
  EXPECT_TRUE(p == nullptr);
  EXPECT_EQ(p.get(), nullptr);
  p.reset();
  EXPECT_TRUE(p.empty());
}

TEST_F(SmartPtrTest, CopyAddsAReferenceAndResetOrDestructionReleasesIt)
{
  SmartPtr<txapi::ITavrixDocument> d = NewDocument(txapi::txDocumentDrawing);
  ASSERT_TRUE(d);
  EXPECT_EQ(Refs(d), 1);
  {
    SmartPtr<txapi::ITavrixDocument> copy = d;
    EXPECT_EQ(Refs(d), 2);
    SmartPtr<txapi::ITavrixDocument> third;
    third = copy;
    EXPECT_EQ(Refs(d), 3);
    third.reset();
    EXPECT_EQ(Refs(d), 2);
  }
  EXPECT_EQ(Refs(d), 1);
  SmartPtr<txapi::ITavrixDocument> moved = std::move(d);
  EXPECT_TRUE(d.empty());
  EXPECT_EQ(Refs(moved), 1);
}

TEST_F(SmartPtrTest, AssignmentFromAnotherInterfaceQueriesByIdentifier)
{
  SmartPtr<txapi::ITavrixDocument> drawing = NewDocument(txapi::txDocumentDrawing);
  SmartPtr<txapi::ITavrixDocument2D> as2D = drawing;
  SmartPtr<txapi::ITavrixDocument3D> as3D = drawing;
  EXPECT_TRUE(as2D);
  EXPECT_FALSE(as3D) << "a drawing offers no 3D view";
  EXPECT_EQ(Refs(drawing), 2);

  SmartPtr<txapi::ITavrixDocument> back;
  back = as2D;
  EXPECT_EQ(back.get(), drawing.get());
  EXPECT_EQ(Refs(drawing), 3);
}

TEST_F(SmartPtrTest, AssignmentFromAnEmptyHolderEmptiesAndReleases)
{
  SmartPtr<txapi::ITavrixDocument> d = NewDocument(txapi::txDocumentPart);
  SmartPtr<txapi::ITavrixDocument3D> d3 = d;
  ASSERT_TRUE(d3);
  EXPECT_EQ(Refs(d), 2);
  SmartPtr<txapi::ITavrixDocument2D> empty;
  SmartPtr<txapi::ITavrixDocument> target = d;
  target = empty;
  EXPECT_TRUE(target.empty());
  d3 = SmartPtr<txapi::ITavrixDocument>();
  EXPECT_TRUE(d3.empty());
  EXPECT_EQ(Refs(d), 1);
}

TEST_F(SmartPtrTest, AssigningTheObjectAlreadyHeldChangesNothing)
{
  SmartPtr<txapi::ITavrixDocument> d = NewDocument(txapi::txDocumentFragment);
  SmartPtr<txapi::ITavrixDocument> same = d;
  txapi::ITavrixDocument* before = same.get();
  const auto calls = Object::From(d.get())->Log().size();

  same = d;
  const SmartPtr<txapi::ITavrixDocument>& alias = same;
  same = alias;
  EXPECT_EQ(same.get(), before);
  EXPECT_EQ(Refs(d), 2);

  SmartPtr<txapi::ITavrixAPIObject> generic = d;
  SmartPtr<txapi::ITavrixDocument2D> view2D = d;
  EXPECT_EQ(Refs(d), 4);
  generic = view2D;
  EXPECT_EQ(Refs(d), 4);
  same = view2D;
  EXPECT_EQ(same.get(), before);
  EXPECT_EQ(Refs(d), 4);
  EXPECT_EQ(Object::From(d.get())->Log().size(), calls) << "holders make no calls of the object's own";
}

TEST_F(SmartPtrTest, EqualityComparesIdentityAcrossInterfaces)
{
  SmartPtr<txapi::ITavrixDocument> a = NewDocument(txapi::txDocumentAssembly);
  SmartPtr<txapi::ITavrixDocument> b = NewDocument(txapi::txDocumentAssembly);
  SmartPtr<txapi::ITavrixAPIObject> aGeneric = a;
  SmartPtr<txapi::ITavrixDocument3D> a3D = a;
  SmartPtr<txapi::IAPIObject> aIdentity = a3D;

  EXPECT_TRUE(aGeneric == a);
  EXPECT_TRUE(a3D == aGeneric);
  EXPECT_TRUE(aIdentity == a);
  EXPECT_FALSE(a == b);
  EXPECT_FALSE(aGeneric == b);
  EXPECT_EQ(static_cast<void*>(aIdentity.get()), static_cast<void*>(Object::From(a.get())));

  SmartPtr<txapi::IPart> none1;
  SmartPtr<txapi::ITavrixDocument> none2;
  EXPECT_TRUE(none1 == none2);
  EXPECT_FALSE(none2 == a);
  EXPECT_FALSE(a == none1);
}

TEST_F(SmartPtrTest, AttachTakesOverAndDetachGivesUpAReference)
{
  SmartPtr<txapi::ITavrixDocument> d = NewDocument(txapi::txDocumentDrawing);
  txapi::ITavrixDocument* raw = d.Detach();
  EXPECT_TRUE(d.empty());
  EXPECT_EQ(Object::From(raw)->RefCount(), 1);
  auto again = SmartPtr<txapi::ITavrixDocument>::Attach(raw);
  EXPECT_EQ(Refs(again), 1);
  SmartPtr<txapi::ITavrixDocument> added(raw);
  EXPECT_EQ(Refs(again), 2);
}

// Growable arrays make default-constructed storage and fill it by copy assignment, then grow by copying
// into a larger storage.
TEST_F(SmartPtrTest, WorksAsTheElementOfDefaultConstructedCopyAssignedStorage)
{
  SmartPtr<txapi::ITavrixDocument> d = NewDocument(txapi::txDocumentPart);
  std::unique_ptr<SmartPtr<txapi::ITavrixDocument>[]> storage(new SmartPtr<txapi::ITavrixDocument>[2]());
  storage[0] = d;
  storage[1] = d;
  EXPECT_EQ(Refs(d), 3);
  std::unique_ptr<SmartPtr<txapi::ITavrixDocument>[]> larger(new SmartPtr<txapi::ITavrixDocument>[8]());
  for (int i = 0; i < 2; ++i)
    larger[i] = storage[i];
  storage.reset();
  EXPECT_EQ(Refs(d), 3);
  EXPECT_TRUE(larger[7].empty());
  larger.reset();
  EXPECT_EQ(Refs(d), 1);

  std::vector<SmartPtr<txapi::ITavrixAPIObject>> list(3);
  list[1] = d;
  list.resize(100);
  EXPECT_EQ(Refs(d), 2);
}

TEST(InterfaceIdTest, EveryInterfaceHasItsOwnThirtySixCharacterIdentifier)
{
  const std::vector<std::string_view> ids{
      txapi::IAPIObject::IID,
      txapi::IApplication::IID,
      txapi::IArc::IID,
      txapi::IArcs::IID,
      txapi::IAuxiliaryGeomContainer::IID,
      txapi::IBaseLineDimension3D::IID,
      txapi::IBilletObsolete::IID,
      txapi::IBilletsObsoletes::IID,
      txapi::IBody::IID,
      txapi::IBoolean::IID,
      txapi::IBooleans::IID,
      txapi::IBoundariesObject::IID,
      txapi::IChooseManager::IID,
      txapi::IColorParam::IID,
      txapi::IColouring::IID,
      txapi::IContour3D::IID,
      txapi::IContours3D::IID,
      txapi::ICopiesGeometry::IID,
      txapi::ICopyGeometry::IID,
      txapi::ICurveOutLine::IID,
      txapi::ICurveOutLines::IID,
      txapi::ICutLine::IID,
      txapi::ICylindricalSpiral::IID,
      txapi::IDocuments::IID,
      txapi::IDrawingContainer::IID,
      txapi::IDrawingGroup::IID,
      txapi::IPolyLines::IID,
      txapi::IOpenDocumentParam::IID,
      txapi::IDimensionText::IID,
      txapi::ICircles::IID,
      txapi::ICircle::IID,
      txapi::IEllipses::IID,
      txapi::IEllipse::IID,
      txapi::IPoints::IID,
      txapi::IPoint::IID,
      txapi::IDrawingTexts::IID,
      txapi::IDrawingText::IID,
      txapi::IText::IID,
      txapi::ITextLine::IID,
      txapi::ITextItem::IID,
      txapi::ITextFont::IID,
      txapi::IMacroObjects::IID,
      txapi::IMacroObject::IID,
      txapi::IUserParameters::IID,
      txapi::IDrawingGroups::IID,
      txapi::IHatches::IID,
      txapi::IHatch::IID,
      txapi::IHatchParam::IID,
      txapi::IColourings::IID,
      txapi::ISymbols2DContainer::IID,
      txapi::ICutLines::IID,
      txapi::ILeaders::IID,
      txapi::ILeader::IID,
      txapi::IBranchs::IID,
      txapi::IBaseLeader::IID,
      txapi::ILayers::IID,
      txapi::ILayer::IID,
      txapi::IDimension2D::IID,
      txapi::IDimension3D::IID,
      txapi::IDimensionParams::IID,
      txapi::IDrawingObject::IID,
      txapi::IEdge::IID,
      txapi::IDistanceAngleMeasurement3D::IID,
      txapi::IDistanceAngleMeasurements3D::IID,
      txapi::IEdgeLengthMeasurement3D::IID,
      txapi::IEdgeLengthMeasurements3D::IID,
      txapi::IMathCurve3D::IID,
      txapi::IMathSurface3D::IID,
      txapi::IMeasurementContainer::IID,
      txapi::IThreadsParameters::IID,
      txapi::IEquidistantSurface::IID,
      txapi::IEquidistantSurfaces::IID,
      txapi::IEvolution::IID,
      txapi::IEvolutions::IID,
      txapi::IExtrusion::IID,
      txapi::IExtrusions::IID,
      txapi::IFace::IID,
      txapi::IFaceRemover::IID,
      txapi::IFaceRemovers::IID,
      txapi::IFeature::IID,
      txapi::ILibraryRecord::IID,
      txapi::ILineDimensions3D::IID,
      txapi::ILineSegment3D::IID,
      txapi::ILineSegment::IID,
      txapi::ILineSegments::IID,
      txapi::ILocalCoordinateSystem::IID,
      txapi::IMacroObject3D::IID,
      txapi::IMacroObjects3D::IID,
      txapi::IMateConstraint3D::IID,
      txapi::IMateConstraints3D::IID,
      txapi::IModelContainer::IID,
      txapi::IModelCurve3D::IID,
      txapi::IModelObject::IID,
      txapi::IParametricConstraint::IID,
      txapi::IPart::IID,
      txapi::IPlacement3D::IID,
      txapi::IPlane3D::IID,
      txapi::IPoint3D::IID,
      txapi::IPolyLine::IID,
      txapi::IProgressBar::IID,
      txapi::IRotated::IID,
      txapi::IRotateds::IID,
      txapi::IRuledSurface::IID,
      txapi::IRuledSurfaceParametersByCurves::IID,
      txapi::IRuledSurfaces::IID,
      txapi::IScaling3D::IID,
      txapi::IScalings3D::IID,
      txapi::ISelectionManager::IID,
      txapi::ISketch::IID,
      txapi::ISketches::IID,
      txapi::ISpecificationDocument::IID,
      txapi::ISpecificationDescriptions::IID,
      txapi::ISpecificationDescription::IID,
      txapi::ISpecificationBaseObjects::IID,
      txapi::ISpecificationBaseObject::IID,
      txapi::ISpecificationColumns::IID,
      txapi::ISpecificationColumn::IID,
      txapi::IAttachedDocuments::IID,
      txapi::IAttachedDocument::IID,
      txapi::ISplitLine::IID,
      txapi::IStamp::IID,
      txapi::ISurfaceContainer::IID,
      txapi::ISurfacePatch::IID,
      txapi::ISurfacePatches::IID,
      txapi::ISurfaceSewer::IID,
      txapi::ISurfaceSewers::IID,
      txapi::ISurfaceThickening::IID,
      txapi::ISurfaceThickenings::IID,
      txapi::ISymbols3DContainer::IID,
      txapi::ITavrixAPIObject::IID,
      txapi::ITavrixDocument2D::IID,
      txapi::ITavrixDocument3D::IID,
      txapi::ITavrixDocument::IID,
      txapi::ITavrixError::IID,
      txapi::ITavrixLibraryActions::IID,
      txapi::ITechnicalDemand::IID,
      txapi::IThinParameters::IID,
      txapi::IThread::IID,
      txapi::IThreads::IID,
      txapi::ITolerance::IID,
      txapi::ITranslator::IID,
      txapi::ITrimmedSurface::IID,
      txapi::ITrimmedSurfaces::IID,
      txapi::IUserObject3D::IID,
      txapi::IUserObjects3D::IID,
      txapi::IUserDataStorage::IID,
      txapi::IUserDataStorages::IID,
      txapi::IUserDataStoragesMng::IID,
      txapi::IVariable::IID,
      txapi::IVector3DByCoefficientsParameters::IID,
      txapi::IView::IID,
      txapi::IViewProjection::IID,
      txapi::IViewProjectionManager::IID,
      txapi::IViews::IID,
      txapi::IAssociationView::IID,
      txapi::IAssociationViewElements::IID,
      txapi::IViewsAndLayersManager::IID,
  };
  std::set<std::string_view> distinct(ids.begin(), ids.end());
  EXPECT_EQ(distinct.size(), ids.size());
  for (std::string_view id : ids)
    EXPECT_EQ(id.size(), 36u) << id;
}

TEST_F(SmartPtrTest, AnIdentifierOfNoInterfaceIsNeverOffered)
{
  txapi::IApplication& app = H.Application();
  EXPECT_EQ(app.QueryInterface("00000000-0000-0000-0000-000000000000"), nullptr);
  EXPECT_EQ(app.QueryInterface("not an identifier"), nullptr);
  EXPECT_EQ(app.QueryInterface(""), nullptr);
  EXPECT_EQ(H.ApplicationObject().RefCount(), 0);
}

} // namespace
