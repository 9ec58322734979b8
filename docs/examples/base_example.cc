// Examples of the base unit: component ownership, bit fields, streams.
#include <string>

#include "examples.h"
#include "zeq/base/base.h"
#include "zeq/vector/vector.h"

namespace examples {

void BaseComponents() {
  //! [TComponent]
  // A component created with an owner belongs to it: deleting the owner deletes it too.
  auto* Owner = new zeq::TComponent;
  auto* Weights = new zeq::TVector(Owner);
  Weights->SetName("Weights");
  std::string Message;

  zeq::TComponent* Found = Owner->FindComponent("Weights");  // == Weights
  int32_t Owned = Owner->ComponentCount();                   // 1

  // Error messages name the component: Component "Weights": ...
  try {
    Weights->HarmonicMean(0, 0);  // of the single element 0.0
  } catch (const zeq::EZEQVectorError& E) {
    Message = E.what();  // Component "Weights": negative or zero argument passed to HarmonicMean
  }
  delete Owner;  // deletes Weights as well
  //! [TComponent]
  Expect(Found == Weights && Owned == 1, "ownership");
  Expect(Message == "Component \"Weights\": negative or zero argument passed to HarmonicMean",
         "message");
}

void BaseBitField() {
  //! [TBitFld]
  zeq::TBitFld Seen;
  Seen.SetSize(9);  // bits 0..9, all false
  Seen.SetBit(2, true);
  Seen.SetBit(7, true);

  zeq::TBitFld Excluded;
  Excluded.SetSize(9);
  Excluded.SetBit(7, true);

  Seen.CombineWith(&Excluded, zeq::loAndNot);  // clears bit 7
  int32_t Count = Seen.CountTrueBits();        // 1
  bool Outside = Seen.GetBit(42);              // false: bits outside the field read false
  //! [TBitFld]
  Expect(Count == 1 && !Outside && Seen.GetBit(2), "bit field");
}

void BaseStreams() {
  //! [TMemoryStream]
  zeq::TMemoryStream Stream;
  zeq::WriteLongintToStream(&Stream, -7);
  zeq::WriteExtendedToStream(&Stream, 0.1L);  // ten bytes, the 80-bit format
  Stream.SetPosition(0);

  bool Failed = false;
  int32_t I = zeq::ReadLongintFromStream(&Stream, Failed);       // -7
  long double X = zeq::ReadExtendedFromStream(&Stream, Failed);  // 0.1L exactly
  zeq::ReadLongintFromStream(&Stream, Failed);                   // at the end: Failed is true
  //! [TMemoryStream]
  Expect(I == -7 && X == 0.1L && Failed && Stream.Size() == 14, "streams");
}

}  // namespace examples
