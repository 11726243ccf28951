#pragma once
// Blocks that a library made and edits again: the macro object the user hands back to its library, a macro
// object's content replaced as a whole, and temporary drawing groups, whose content is dropped when the
// process that made them ends unless the group was kept ("kept").

#include "txhost/lib/Facet.h"
#include "txhost/lib/Object.h"

namespace txhost {

// The macro object of a drawing or fragment that the user asked its library to edit (null: none).
void SetEditedMacro(Object& document, Object* macro);
Object* EditedMacro(Object& document);
// The last live macro object of the document that carries a library's user parameters; null when none.
Object* LastLibraryMacro(Object& document);
// Drops what the document's temporary groups hold, but for kept ones (a process has ended).
void DropTemporaryGroups(Object& document);

namespace facets {
FacetEntry MacroContent();     // macro objects
FacetEntry TemporaryGroup();   // drawing groups
FacetEntry Document2DEdit();   // drawings and fragments
} // namespace facets

} // namespace txhost
