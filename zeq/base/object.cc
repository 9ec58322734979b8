// The component frame: assignment protocol and ownership of components.
#include "zeq/base/object.h"

#include <algorithm>

#include "zeq/base/errors.h"

namespace zeq {

void TPersistent::Assign(TPersistent* Source) {
  if (Source == nullptr) AssignError(nullptr);
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  // Reported from the destination's point of view, as the caller wrote Dest->Assign(this).
  if (Dest == nullptr) throw EConvertError("Cannot assign a " + ClassName() + " to a nil");
  Dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const {
  const std::string SourceName = Source == nullptr ? "nil" : Source->ClassName();
  throw EConvertError("Cannot assign a " + SourceName + " to a " + ClassName());
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Tell the linked components first, each link removed before its call, so that a
  // Notification that unlinks others cannot invalidate this loop.
  while (!FFreeNotifies.empty()) {
    TComponent* Other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    std::erase(Other->FFreeNotifies, this);
    Other->Notification(this);
  }
  // Detach each child before deleting it, so that its destructor finds nothing to remove
  // and a child that deletes a sibling cannot invalidate this loop.
  while (!FComponents.empty()) {
    TComponent* Child = FComponents.back();
    FComponents.pop_back();
    Child->FOwner = nullptr;
    delete Child;
  }
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) != FFreeNotifies.end())
    return;
  FFreeNotifies.push_back(AComponent);
  AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  std::erase(FFreeNotifies, AComponent);
  std::erase(AComponent->FFreeNotifies, this);
}

TComponent* TComponent::Components(int32_t Index) const {
  if (Index < 0 || Index >= ComponentCount()) return nullptr;
  return FComponents[static_cast<size_t>(Index)];
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
  for (TComponent* C : FComponents)
    if (C->FName == AName) return C;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner == this) return;
  // An owner cycle would make each delete the other.
  for (const TComponent* O = this; O != nullptr; O = O->FOwner)
    if (O == AComponent) throw EConvertError("A component cannot own itself or its owner");
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  auto It = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (It == FComponents.end()) return;
  FComponents.erase(It);
  AComponent->FOwner = nullptr;
}

}  // namespace zeq
