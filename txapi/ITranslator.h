#pragma once

#include "txapi/IAPIObject.h"

#include <string>

namespace txapi {

// The host's translation service for user-visible phrases.
class ITranslator : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"3a8d72f1-c5e0-4b69-9d37-1e04b6a8f25c"};

  // The phrase in the user's language; the phrase itself when the host knows no translation.
  virtual std::wstring Translate(const std::wstring& phrase) = 0;

protected:
  ~ITranslator() = default;
};

} // namespace txapi
