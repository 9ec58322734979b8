/// @file
/// The component frame: TObject, TPersistent with the Assign/AssignTo protocol, and
/// TComponent with an owner, a name and the components it owns.
///
/// A component created with an owner must be allocated with `new`: the owner deletes it.
/// A component deleted first removes itself from its owner's list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "zeq/base/export.h"

namespace zeq {

/// Root of the class tree: a virtual destructor and the class name.
class ZEQ_API TObject {
 public:
  TObject() = default;
  virtual ~TObject() = default;
  /// The class name as the library spells it ("TVector"); used in messages.
  virtual std::string ClassName() const { return "TObject"; }
};

/// An object that can be copied into another one of a compatible class (Assign/AssignTo).
class ZEQ_API TPersistent : public TObject {
 public:
  std::string ClassName() const override { return "TPersistent"; }
  /// Copies Source into this object. The inherited version asks Source to assign itself
  /// (Source->AssignTo(this)); a null Source raises EConvertError.
  virtual void Assign(TPersistent* Source);
  /// Copies this object into Dest. The inherited version raises EConvertError
  /// ("Cannot assign a TMatrix to a TVector").
  virtual void AssignTo(TPersistent* Dest);

 protected:
  /// Raises EConvertError "Cannot assign a <Source's class> to a <this class>" (Source null:
  /// "nil").
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};

/// A named object with an owner; it owns the components created with it as their owner and
/// deletes them with itself.
class ZEQ_API TComponent : public TPersistent {
 public:
  /// Joins AOwner's list when AOwner is not null; the name starts empty.
  explicit TComponent(TComponent* AOwner = nullptr);
  /// Deletes every owned component (last inserted first), then leaves the owner.
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string ClassName() const override { return "TComponent"; }

  ///@{
  /// The owner (null for none) and the name.
  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  ///@}
  /// Any text is accepted; the name shows in the component's error messages.
  void SetName(std::string NewName) { FName = std::move(NewName); }

  /// The number of owned components.
  int32_t ComponentCount() const { return static_cast<int32_t>(FComponents.size()); }
  /// Owned component number Index (0-based); null outside 0..ComponentCount()-1.
  TComponent* Components(int32_t Index) const;
  /// The first owned component of that name, or null.
  TComponent* FindComponent(std::string_view AName) const;

  /// Takes AComponent into this owner's list (removing it from its previous owner).
  void InsertComponent(TComponent* AComponent);
  /// Releases AComponent from this owner's list without deleting it; it then has no owner.
  void RemoveComponent(TComponent* AComponent);

  /// Links this component and AComponent: whichever is destroyed first calls the other's
  /// Notification with itself, so that neither keeps a pointer to a deleted component.
  void FreeNotification(TComponent* AComponent);
  /// Undoes the link (both directions).
  void RemoveFreeNotification(TComponent* AComponent);

 protected:
  /// Called when a linked component is being destroyed (its destructor has begun: only its
  /// address may be used).
  virtual void Notification(TComponent* /*AComponent*/) {}

 private:
  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

}  // namespace zeq
