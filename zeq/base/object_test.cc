#include "zeq/base/base.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

// A component that counts its own destruction.
class TCounted : public TComponent {
 public:
  TCounted(TComponent* AOwner, int* Deleted) : TComponent(AOwner), FDeleted(Deleted) {}
  ~TCounted() override { ++*FDeleted; }
  std::string ClassName() const override { return "TCounted"; }

 private:
  int* FDeleted;
};

TEST(Ownership, OwnerDeletesItsChildrenAndGrandchildren) {
  int Deleted = 0;
  auto* Owner = new TCounted(nullptr, &Deleted);
  auto* Child = new TCounted(Owner, &Deleted);
  new TCounted(Child, &Deleted);
  new TCounted(Owner, &Deleted);
  EXPECT_EQ(Owner->ComponentCount(), 2);
  EXPECT_EQ(Child->Owner(), Owner);
  delete Owner;
  EXPECT_EQ(Deleted, 4);  // the sanitizer build also proves no double delete and no leak
}

TEST(Ownership, ChildDeletedFirstLeavesItsOwner) {
  int Deleted = 0;
  TCounted Owner(nullptr, &Deleted);
  auto* First = new TCounted(&Owner, &Deleted);
  auto* Second = new TCounted(&Owner, &Deleted);
  delete First;
  ASSERT_EQ(Owner.ComponentCount(), 1);
  EXPECT_EQ(Owner.Components(0), Second);
  EXPECT_EQ(Owner.Components(1), nullptr);
  EXPECT_EQ(Owner.Components(-1), nullptr);
}

TEST(Ownership, InsertMovesAComponentAndCyclesAreRefused) {
  TComponent A, B;
  auto* C = new TComponent(&A);
  C->SetName("child");
  B.InsertComponent(C);
  EXPECT_EQ(A.ComponentCount(), 0);
  EXPECT_EQ(B.FindComponent("child"), C);
  EXPECT_EQ(A.FindComponent("child"), nullptr);
  EXPECT_THROW(C->InsertComponent(&B), EConvertError);
  EXPECT_THROW(B.InsertComponent(&B), EConvertError);
  EXPECT_EQ(C->ComponentCount(), 0);
  B.RemoveComponent(C);
  EXPECT_EQ(C->Owner(), nullptr);
  delete C;
}

TEST(Assign, IncompatibleClassesRaiseConvertError) {
  TComponent Dest;
  TCounted* Unused = nullptr;
  int Deleted = 0;
  auto Source = std::make_unique<TCounted>(Unused, &Deleted);
  test::ExpectThrowMessage<EConvertError>([&] { Dest.Assign(Source.get()); },
                                          "Cannot assign a TCounted to a TComponent");
  EXPECT_THROW(Dest.Assign(nullptr), EConvertError);
  EXPECT_THROW(Source->AssignTo(&Dest), EConvertError);
}

TEST(Errors, ComponentMessagesNameTheComponent) {
  TComponent C;
  EXPECT_EQ(ComponentMessage(&C, "vectors have different dimensions"),
            "Component \"\": vectors have different dimensions");
  C.SetName("Vec1");
  EXPECT_EQ(ComponentMessage(&C, "Histogram", "invalid number of bins"),
            "Component \"Vec1.Histogram\": invalid number of bins");
  try {
    RaiseComponentError<EZEQError>(&C, "not enough memory");
  } catch (const Exception& E) {
    EXPECT_STREQ(E.what(), "Component \"Vec1\": not enough memory");
  }
}

TEST(Errors, FamilyDerivesFromTheRoot) {
  EXPECT_TRUE((std::is_base_of_v<std::exception, Exception>));
  EXPECT_TRUE((std::is_base_of_v<Exception, EZEQError>));
  EXPECT_TRUE((std::is_base_of_v<Exception, EMathError>));
  EXPECT_TRUE((std::is_base_of_v<Exception, EInOutError>));
  EXPECT_FALSE((std::is_base_of_v<EZEQError, EMathError>));
}

}  // namespace
}  // namespace zeq
