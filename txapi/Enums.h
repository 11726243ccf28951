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

// Kinds of 3D objects; the standard planes are 1..3.
enum txObj3dTypeEnum : int {
  o3d_unknown = 0,
  o3d_planeXOY = 1,
  o3d_planeXOZ = 2,
  o3d_planeYOZ = 3,
  o3d_face = 6,
  o3d_bossExtrusion = 25,
  o3d_cutExtrusion = 26,
  o3d_bossRotated = 28,
  o3d_cutRotated = 29,
  o3d_bossEvolution = 46,
  o3d_cutEvolution = 47,
  o3d_EvolutionSurface = 59,
  o3d_ExtrusionSurface = 60,
  o3d_RotatedSurface = 61,
  o3d_baselineDimension3D = 80,
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

} // namespace txapi
