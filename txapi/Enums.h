#pragma once

// Host enumerations with the host's names and values.

namespace txapi {

// The kind of a host document.
enum DocumentTypeEnum : int {
  txDocumentDrawing = 1,
  txDocumentFragment = 2,
  txDocumentSpecification = 3,
  txDocumentPart = 4,
  txDocumentAssembly = 5,
  txDocumentTextual = 6,
  txDocumentTechnologyAssembly = 7,
};

// Whether the host hides its own messages while a library works.
enum txHideMessageEnum : int {
  txShowMessage = 0,
  txHideMessageYes = 1,
  txHideMessageNo = 2,
};

// How the user started a library command. Libraries are free to ignore it.
enum txRunCommandModeEnum : int {
  txRunCommandNormal = 0,
  txRunCommandRepeat = 1,
};

// What closing a document does with unsaved changes.
enum DocumentCloseOptions : int {
  txCloseWithoutSaving = 0,
  txCloseSaveChanges = 1,
  txCloseAskUser = 2,
};

// The kinds of 3D objects: standard objects, features, auxiliary geometry. The values the library passes are
// the host's; the others name this host's own kinds.
enum txObj3dTypeEnum : int {
  o3d_unknown = 0,
  o3d_planeXOY = 1,
  o3d_planeXOZ = 2,
  o3d_planeYOZ = 3,
  o3d_pointCS = 4,
  o3d_sketch = 5,
  o3d_face = 6,
  o3d_edge = 7,
  o3d_vertex = 8,
  o3d_axis2Planes = 9,
  o3d_axis2Points = 10,
  o3d_axisConeFace = 11,
  o3d_axisEdge = 12,
  o3d_axisOperation = 13,
  o3d_planeOffset = 14,
  o3d_polyline = 18,
  o3d_planePerpendicular = 21,
  o3d_bossExtrusion = 25,
  o3d_cutExtrusion = 26,
  o3d_bossRotated = 28,
  o3d_cutRotated = 29,
  o3d_lineSegment3D = 30,
  o3d_point3D = 31,
  o3d_part = 32,
  o3d_splitLine = 33,
  o3d_bossEvolution = 46,
  o3d_cutEvolution = 47,
  o3d_cylindricalSpiral = 56,
  o3d_thread = 58,
  o3d_EvolutionSurface = 59,
  o3d_ExtrusionSurface = 60,
  o3d_RotatedSurface = 61,
  o3d_axisOX = 71,
  o3d_axisOY = 72,
  o3d_axisOZ = 73,
  o3d_baselineDimension3D = 80,
  o3d_variable = 100,
  o3d_UserObjectOperation = 584,
  o3d_UserWireFrame3D = 602,
};

// Direction of an extrusion.
enum txDirectionTypeEnum : int {
  dtNormal = 0,
  dtReverse = 1,
  dtBoth = 2,
  dtMiddlePlane = 3,
};

// How an extrusion ends.
enum txEndTypeEnum : int {
  etBlind = 0,
  etThroughAll = 1,
  etUpToVertexTo = 2,
  etUpToVertexFrom = 3,
  etUpToSurfaceTo = 4,
  etUpToSurfaceFrom = 5,
  etUpToNearSurface = 6,
};

// What a solid feature does with the body.
enum txOperationResultEnum : int {
  txOperationUnion = 0,
  txOperationNewBody = 1,
  txOperationCut = 2,
  txOperationIntersect = 3,
};

// How a sweep carries its sketch along the path.
enum txEvolutionShiftSketchTypeEnum : int {
  txEvShiftParallel = 0,
  txEvShiftKeepAngle = 1,
  txEvShiftOrtogonal = 2,
};

// The operation of a boolean between bodies.
enum txBooleanType : int {
  txBooleanUnknown = 0,
  txIntersect = 1,
  txDifference = 2,
  txUnion = 3,
};

// How a ruled surface is built.
enum txRuledSurfaceBuildingTypeEnum : int {
  txRuledSurfaceByCurves = 0,
  txRuledSurfaceBySurfaces = 1,
  txRuledSurfaceByCurveAndSurface = 2,
  txRuledSurfaceBySurfaceTangentCurve = 3,
  txRuledSurfaceByCurveAndDir = 4,
};

// How a 3D direction is given.
enum txVector3DParametersTypeEnum : int {
  txVector3DCoefficients = 4,
};

// How a linear dimension measures.
enum txLineDimensionOrientationEnum : int {
  txLinDParallel = 0,
  txLinDHorizontal = 1,
  txLinDVertical = 2,
};

// Kind of a roughness sign.
enum txRoughSignEnum : int {
  txNoProcessingType = 0,
  txDeleteMaterial = 1,
  txWithoutDeleteMaterial = 2,
};

// Sign at the start of a leader (not read by the library).
enum txLeaderSignEnum : int {
  txLeaderNoSign = 0,
};

// Side of a leader's shelf.
enum txShelfDirectionEnum : int {
  txLSLeft = -1,
  txLSNone = 0,
  txLSRight = 1,
  txLSUp = 2,
  txLSDown = 3,
};

// Arrow at the end of a leader (not read by the library).
enum txArrowEnum : int {
  txArrowNone = 0,
};

// The kinds of assembly mates.
enum MateConstraintType : int {
  mc_Unknown = -1,
  mc_Coincidence = 0,
  mc_Parallel = 1,
  mc_Perpendicular = 2,
  mc_Tangency = 3,
  mc_Concentric = 4,
  mc_Distance = 5,
  mc_Angle = 6,
  mc_InPlace = 7,
  mc_Transmission = 9,
  mc_CamGear = 10,
  mc_Symmetric = 11,
  mc_Dependent = 14,
};

// How the objects of a mate face each other.
enum txMateConstraintAlignmentEnum : int {
  txMCAlignmentOpposite = -1,
  txMCAlignmentClosest = 0,
  txMCAlignmentCooriented = 1,
};

// The kinds of mathematical curves in space.
enum txMathCurve3DTypeEnum : int {
  txUnknownCurve3D = 0,
  txLineSegment3D = 1,
  txCircle3D = 2,
  txArc3D = 3,
};

// Curve styles of drawing objects (1: the main line, 3: the axis line, 5: a thin line with breaks, 6: a
// construction line, 7: a thick line). The host has more between 7 and 26 that nothing here uses.
enum txCurveStyleEnum : int {
  txCSHidden = -1,
  txCSUnvisible = 0,
  txCSNormal = 1,
  txCSThin = 2,
  txCSAxial = 3,
  txCSDashed = 4,
  txCSBrokenLine = 5,
  txCSConstruction = 6,
  txCSThick = 7,
  txCSDotted = 26,
};

// The symbol drawn at a 3D control point.
enum txAnnotationSymbolEnum : int {
  txAnnotationSymbolNone = 0,
  txAnnotationSymbolPoint = 1,
  txAnnotationSymbolCross = 2,
};

// Kinds of parametric constraints of drawing objects. Codes 3, 4 and 11 are how callers name what they want;
// the others are the codes the adapter hands the host for points joined and for driving dimensions.
enum txConstraintTypeEnum : int {
  txCHorizontal = 3,
  txCVertical = 4,
  txCJoinPoints = 10,
  txCMergePoints = 11,
  txCDimWithVariable = 13,
  txCFixedDim = 14,
};

// The types of 2D drawing objects (IDrawingObject::GetType). Codes the host leaves open are this host's.
enum DrawingObjectTypeEnum : int {
  txDrUnknown = 0,
  txDrLineSeg = 1,
  txDrCircle = 2,
  txDrArc = 3,
  txDrPoint = 4,
  txDrHatch = 5,
  txDrText = 6,
  txDrLDimension = 7,
  txDrDDimension = 8,
  txDrRDimension = 9,
  txDrADimension = 10,
  txDrRough = 11,
  txDrBase = 12,
  txDrViewPointer = 13,
  txDrTolerance = 14,
  txDrCutLine = 15,
  txDrLeader = 20,
  txDrMacro = 27,
  txDrColouring = 28,
  txDrEllipse = 32,
  txDrGroup = 33,
  txView = 123,
};

// The patterns of hatches.
enum txHatchStyleEnum : int {
  txHatchMetal = 0,
  txHatchNonMetal = 1,
};

// The highlight groups of a choose manager.
enum txChooseManagerTypeEnum : int {
  txChooseManagerDefault = 0,
  txChooseManagerFirst = 1,
  txChooseManagerSecond = 2,
  txChooseManagerThird = 3,
};

} // namespace txapi
