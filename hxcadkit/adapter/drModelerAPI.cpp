#include "hxcadkit/adapter/drModelerAPI.h"

namespace drApi {

TModelerApi* TModelerApi::Last = nullptr;

TTransf2D* Transf2D = nullptr;

} // namespace drApi
