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
  EXPECT_EQ((std::tuple{Owner->ComponentCount(), Child->Owner()}), (std::tuple{2, Owner}));
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
  EXPECT_EQ((std::tuple{Owner.Components(0), Owner.Components(1)}), (std::tuple{Second, nullptr}));
  EXPECT_EQ(Owner.Components(-1), nullptr);
}

TEST(Ownership, InsertMovesAComponentAndCyclesAreRefused) {
  TComponent A, B;
  auto* C = new TComponent(&A);
  C->SetName("child");
  B.InsertComponent(C);
  EXPECT_EQ((std::tuple{A.ComponentCount(), B.FindComponent("child")}), (std::tuple{0, C}));
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

// The exception family: one root, and the library's own errors apart from math and I/O errors.
static_assert(std::is_base_of_v<std::exception, Exception> &&
              std::is_base_of_v<Exception, EZEQError> && std::is_base_of_v<Exception, EMathError> &&
              std::is_base_of_v<Exception, EInOutError> &&
              !std::is_base_of_v<EZEQError, EMathError>);

}  // namespace
}  // namespace zeq
