// Wording of component messages.
#include "zeq/base/errors.h"

#include "zeq/base/object.h"

namespace zeq {

namespace {

// Component "Name[.Method]": Text
std::string Compose(const TComponent* Component, std::string_view Method, std::string_view Text) {
  std::string Result = "Component \"";
  if (Component != nullptr) Result += Component->Name();
  if (!Method.empty()) {
    Result += '.';
    Result += Method;
  }
  Result += "\": ";
  Result += Text;
  return Result;
}

}  // namespace

std::string ComponentMessage(const TComponent* Component, std::string_view Text) {
  return Compose(Component, {}, Text);
}

std::string ComponentMessage(const TComponent* Component, std::string_view Method,
                             std::string_view Text) {
  return Compose(Component, Method, Text);
}

}  // namespace zeq
