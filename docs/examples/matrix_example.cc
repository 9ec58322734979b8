// Examples of the matrices: dense linear algebra, the sparse integer form, 3-D and 4-D arrays.
#include <cmath>

#include "examples.h"
#include "zeq/matrix/mat3d.h"
#include "zeq/matrix/mat4d.h"
#include "zeq/matrix/matrix.h"

namespace examples {

void MatrixDense() {
  //! [TMatrix]
  // Elem(column, row): A(i, j) of the textbooks is Elem(j, i).
  zeq::TMatrix A;
  A.Resize(3, 3);
  const double Rows[3][3] = {{4, -2, 1}, {-2, 4, -2}, {1, -2, 4}};
  for (int32_t r = 1; r <= 3; ++r)
    for (int32_t c = 1; c <= 3; ++c) A.SetVal(c, r, Rows[r - 1][c - 1]);

  double Det = A.Determinant();  // 36

  zeq::TMatrix Inverse, Product;
  Inverse.Assign(&A);
  Inverse.Invert();                       // false for a singular matrix
  A.Multiply(&Inverse, &Product);         // the identity, to rounding
  double Fro = A.Norm(zeq::ntFrobenius);  // sqrt(66)
  //! [TMatrix]
  Expect(std::fabs(Det - 36) < 1e-12 && std::fabs(Fro - std::sqrt(66.0)) < 1e-12, "det, norm");
  for (int32_t r = 1; r <= 3; ++r)
    for (int32_t c = 1; c <= 3; ++c)
      Expect(std::fabs(Product.GetVal(c, r) - (c == r)) < 1e-14, "A * inv(A) = I");
}

void MatrixSparse() {
  //! [TIntMatrix]
  // The sparse form stores only what is set; the matrix grows to cover it.
  zeq::TIntMatrix* Links = zeq::TIntMatrix::CreateSparse(nullptr, 16);
  Links->SetVal(1000, 20, 5);
  Links->SetVal(3, 7, -2);
  int32_t Stored = Links->SparseNumElem();    // 2
  int32_t Cols = Links->NrOfColumns();        // 1000
  int32_t Total = Links->Sum(0, 0, 0, 0);     // 3, over the stored entries
  int32_t Missing = Links->GetVal(500, 500);  // 0: nothing stored there (and outside)
  Links->SparseToArray();                     // now dense, 1000 x 20
  delete Links;                               // created without an owner: the caller's
  //! [TIntMatrix]
  Expect(Stored == 2 && Cols == 1000 && Total == 3 && Missing == 0, "sparse matrix");
}

void Matrix3D() {
  //! [TMat3D]
  zeq::TMat3D Volume;
  Volume.Resize(4, 3, 2);  // columns, rows, layers
  Volume.Fill(1.0);
  Volume.SetVal(2, 2, 2, 9.0);

  zeq::TMatrix Layer;
  Volume.CopyLayerToMatrix(&Layer, 0, 0, 0, 0, 2);  // layer 2 as a 4 x 3 matrix
  double Min, Max;
  Volume.MinMax(0, 0, 0, 0, 0, 0, Min, Max);  // 1, 9
  //! [TMat3D]
  Expect(Layer.NrOfColumns() == 4 && Layer.GetVal(2, 2) == 9 && Min == 1 && Max == 9, "3-D");
}

void Matrix4D() {
  //! [TMat4D]
  // Five frames of a 4 x 3 image with two channels: columns, rows, layers, time slots.
  zeq::TMat4D Movie;
  Movie.Resize(4, 3, 2, 5);
  for (int32_t t = 1; t <= 5; ++t) Movie.SetVal(1, 1, 1, t, t);  // pixel (1, 1) brightens

  // The mean over both layers and all frames of every pixel, as a 4 x 3 matrix.
  zeq::TMatrix Mean;
  Movie.MeanOfLayersToMatrix(&Mean, 0, 0, 0, 0, 0, 0, 0, 0);  // Mean(1, 1) = 15 / 10
  double Mem = Movie.MemoryConsumed();                        // 120 doubles, in MiB
  //! [TMat4D]
  Expect(Mean.GetVal(1, 1) == 1.5 && Mean.GetVal(2, 1) == 0 && Mem > 0, "4-D");
}

}  // namespace examples
