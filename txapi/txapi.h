#pragma once

// Every txapi header.

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/IApplication.h"
#include "txapi/IDocuments.h"
#include "txapi/IDrawingGroup.h"
#include "txapi/IDrawingObject.h"
#include "txapi/ILibraryRecord.h"
#include "txapi/IModelObject.h"
#include "txapi/IPart.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/ITavrixDocument.h"
#include "txapi/ITavrixDocument2D.h"
#include "txapi/ITavrixDocument3D.h"
#include "txapi/ITavrixError.h"
#include "txapi/ITavrixLibraryActions.h"
#include "txapi/ITranslator.h"
#include "txapi/IVariable.h"
#include "txapi/InterfaceId.h"
#include "txapi/LibraryEntry.h"
#include "txapi/SmartPtr.h"
