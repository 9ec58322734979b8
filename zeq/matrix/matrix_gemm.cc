// Blocked, packed matrix product with register-tile kernels for AVX-512, AVX2 and plain C++,
// chosen at run time by the library's SIMD level (zeq/base/internal/simd.h).
//
// Blocking: B is packed in panels of NR columns over KC values of k, A in panels of MR rows;
// a kernel keeps an MR x NR tile of C in registers for KC steps of k. The first k-block starts
// its tile at 0.0, later ones continue from the partial sums in C. With SetMaxThreads above 1,
// large products give each thread a block of C's columns.
#include "zeq/matrix/internal/matrix_gemm.h"

#include <algorithm>
#include <memory>

#include "zeq/base/internal/simd.h"
#include "zeq/base/internal/thread_pool.h"
#include "zeq/base/threads.h"

#ifdef ZEQ_SIMD_X86
#include <immintrin.h>
#endif

namespace zeq::detail {

namespace {

constexpr size_t KC = 256;   // k values per block: the A and B panels stay in L1/L2
constexpr size_t MC = 128;   // rows per packed A block (L2)
constexpr size_t NC = 2048;  // columns per packed B block (L3)

// One tile: C[0..MR) x [0..NR) (+)= Ap * Bp over Kc steps. Ap holds MR values per k, Bp NR.
using TKernel = void (*)(size_t Kc, const double* Ap, const double* Bp, double* C, size_t Ldc,
                         bool First);

// ---- plain C++ kernel (any CPU) ----

template <size_t MR, size_t NR>
void GenericKernel(size_t Kc, const double* Ap, const double* Bp, double* C, size_t Ldc,
                   bool First) {
  double Acc[NR][MR];
  for (size_t c = 0; c < NR; ++c)
    for (size_t r = 0; r < MR; ++r) Acc[c][r] = First ? 0.0 : C[r + c * Ldc];
  for (size_t k = 0; k < Kc; ++k, Ap += MR, Bp += NR)
    for (size_t c = 0; c < NR; ++c)
      for (size_t r = 0; r < MR; ++r) Acc[c][r] = Acc[c][r] + Ap[r] * Bp[c];
  for (size_t c = 0; c < NR; ++c)
    for (size_t r = 0; r < MR; ++r) C[r + c * Ldc] = Acc[c][r];
}

#ifdef ZEQ_SIMD_X86

// ---- AVX2: 8 x 6 tile, 12 accumulators of 4 doubles ----

ZEQ_TARGET_AVX2 void Avx2Kernel(size_t Kc, const double* Ap, const double* Bp, double* C,
                                size_t Ldc, bool First) {
  __m256d Acc[6][2];
  for (int c = 0; c < 6; ++c) {
    Acc[c][0] = First ? _mm256_setzero_pd() : _mm256_loadu_pd(C + c * Ldc);
    Acc[c][1] = First ? _mm256_setzero_pd() : _mm256_loadu_pd(C + c * Ldc + 4);
  }
  for (size_t k = 0; k < Kc; ++k, Ap += 8, Bp += 6) {
    const __m256d A0 = _mm256_loadu_pd(Ap), A1 = _mm256_loadu_pd(Ap + 4);
    for (int c = 0; c < 6; ++c) {
      const __m256d B = _mm256_broadcast_sd(Bp + c);
      Acc[c][0] = _mm256_add_pd(Acc[c][0], _mm256_mul_pd(A0, B));
      Acc[c][1] = _mm256_add_pd(Acc[c][1], _mm256_mul_pd(A1, B));
    }
  }
  for (int c = 0; c < 6; ++c) {
    _mm256_storeu_pd(C + c * Ldc, Acc[c][0]);
    _mm256_storeu_pd(C + c * Ldc + 4, Acc[c][1]);
  }
}

// ---- AVX-512: 16 x 12 tile, 24 accumulators of 8 doubles ----

ZEQ_TARGET_AVX512 void Avx512Kernel(size_t Kc, const double* Ap, const double* Bp, double* C,
                                    size_t Ldc, bool First) {
  __m512d Acc[12][2];
  for (int c = 0; c < 12; ++c) {
    Acc[c][0] = First ? _mm512_setzero_pd() : _mm512_loadu_pd(C + c * Ldc);
    Acc[c][1] = First ? _mm512_setzero_pd() : _mm512_loadu_pd(C + c * Ldc + 8);
  }
  for (size_t k = 0; k < Kc; ++k, Ap += 16, Bp += 12) {
    const __m512d A0 = _mm512_loadu_pd(Ap), A1 = _mm512_loadu_pd(Ap + 8);
    for (int c = 0; c < 12; ++c) {
      const __m512d B = _mm512_set1_pd(Bp[c]);
      Acc[c][0] = _mm512_add_pd(Acc[c][0], _mm512_mul_pd(A0, B));
      Acc[c][1] = _mm512_add_pd(Acc[c][1], _mm512_mul_pd(A1, B));
    }
  }
  for (int c = 0; c < 12; ++c) {
    _mm512_storeu_pd(C + c * Ldc, Acc[c][0]);
    _mm512_storeu_pd(C + c * Ldc + 8, Acc[c][1]);
  }
}

#endif

// Packs op(A) rows [I0, I0 + Rows) x k [K0, K0 + Kc) into MR-row panels, zero-padded.
void PackA(const TOperand& A, size_t I0, size_t Rows, size_t K0, size_t Kc, size_t MR,
           double* Dest) {
  for (size_t ip = 0; ip < Rows; ip += MR) {
    const size_t R = std::min(MR, Rows - ip);
    for (size_t k = 0; k < Kc; ++k, Dest += MR) {
      size_t r = 0;
      if (!A.Transposed) {
        const double* Src = A.Data + (I0 + ip) + (K0 + k) * A.Ld;
        for (; r < R; ++r) Dest[r] = Src[r];
      } else {
        for (; r < R; ++r) Dest[r] = A(I0 + ip + r, K0 + k);
      }
      for (; r < MR; ++r) Dest[r] = 0.0;
    }
  }
}

// Packs op(B) k [K0, K0 + Kc) x columns [J0, J0 + Cols) into NR-column panels, zero-padded.
void PackB(const TOperand& B, size_t K0, size_t Kc, size_t J0, size_t Cols, size_t NR,
           double* Dest) {
  for (size_t jp = 0; jp < Cols; jp += NR) {
    const size_t N = std::min(NR, Cols - jp);
    for (size_t k = 0; k < Kc; ++k, Dest += NR) {
      size_t c = 0;
      for (; c < N; ++c) Dest[c] = B(K0 + k, J0 + jp + c);
      for (; c < NR; ++c) Dest[c] = 0.0;
    }
  }
}

struct TGemmKernel {
  TKernel Kernel;
  size_t MR, NR;
};

// The kernel of the active SIMD level.
const TGemmKernel& Kernel() {
  static constexpr TGemmKernel Generic{GenericKernel<8, 4>, 8, 4};
#ifdef ZEQ_SIMD_X86
  static constexpr TGemmKernel Avx2{Avx2Kernel, 8, 6};
  static constexpr TGemmKernel Avx512{Avx512Kernel, 16, 12};
  return *PickSimd(&Generic, &Avx2, &Avx512);
#else
  return Generic;
#endif
}

}  // namespace

namespace {

// The packing buffers of this thread, kept from one product to the next: a product of small
// blocks (the LU's panels run dozens of them) would otherwise spend more time obtaining fresh,
// zeroed pages than multiplying. At most KC * (NC + MC + 2 NR) + MR * NR doubles (about 4.5 MB)
// per thread that ran a large product; freed when the thread ends (SetMaxThreads(1) joins the
// pool's threads).
double* PackSpace(size_t Count) {
  thread_local std::unique_ptr<double[]> Space;
  thread_local size_t Capacity = 0;
  if (Count > Capacity) {
    Space.reset();
    Capacity = 0;
    Space = std::make_unique_for_overwrite<double[]>(Count);
    Capacity = Count;
  }
  return Space.get();
}

// The packing space of one thread's product: the B block, the A block and an edge tile.
size_t PackSpaceFor(size_t M, size_t N, size_t K) {
  const size_t Kb = std::min(K, KC), MR = Kernel().MR, NR = Kernel().NR;
  return Kb * (std::min(N, NC) + NR) + Kb * (std::min(M, MC) + MR) + MR * NR;
}

// The product on one thread.
void SerialGemm(size_t M, size_t N, size_t K, const TOperand& A, const TOperand& B, double* C,
                size_t Ldc, bool Continue) {
  if (K == 0) {  // empty sums: 0.0, or the partial sums as they are
    if (Continue) return;
    for (size_t j = 0; j < N; ++j) std::fill_n(C + j * Ldc, M, 0.0);
    return;
  }
  const TGemmKernel G = Kernel();
  const size_t MR = G.MR, NR = G.NR;
  const size_t Kb = std::min(K, KC);
  double* Bp = PackSpace(PackSpaceFor(M, N, K));
  double* Ap = Bp + Kb * (std::min(N, NC) + NR);
  double* Edge = Ap + Kb * (std::min(M, MC) + MR);  // a partial tile of C, computed in full
  for (size_t jc = 0; jc < N; jc += NC) {
    const size_t Nc = std::min(NC, N - jc);
    for (size_t pc = 0; pc < K; pc += KC) {
      const size_t Kc = std::min(KC, K - pc);
      const bool First = pc == 0 && !Continue;
      PackB(B, pc, Kc, jc, Nc, NR, Bp);
      for (size_t ic = 0; ic < M; ic += MC) {
        const size_t Mc = std::min(MC, M - ic);
        PackA(A, ic, Mc, pc, Kc, MR, Ap);
        for (size_t jr = 0; jr < Nc; jr += NR) {
          const size_t Nr = std::min(NR, Nc - jr);
          for (size_t ir = 0; ir < Mc; ir += MR) {
            const size_t Mr = std::min(MR, Mc - ir);
            const double* ApPanel = Ap + ir * Kc;
            const double* BpPanel = Bp + jr * Kc;
            double* CTile = C + (ic + ir) + (jc + jr) * Ldc;
            if (Mr == MR && Nr == NR) {
              G.Kernel(Kc, ApPanel, BpPanel, CTile, Ldc, First);
              continue;
            }
            for (size_t c = 0; c < Nr; ++c) std::copy_n(CTile + c * Ldc, Mr, Edge + c * MR);
            G.Kernel(Kc, ApPanel, BpPanel, Edge, MR, First);
            for (size_t c = 0; c < Nr; ++c) std::copy_n(Edge + c * MR, Mr, CTile + c * Ldc);
          }
        }
      }
    }
  }
}

// Below this many multiplications a product stays on one thread: starting the pool's work
// costs more than it saves.
constexpr double ThreadedWork = 4e6;

}  // namespace

void ExactGemm(size_t M, size_t N, size_t K, const TOperand& A, const TOperand& B, double* C,
               size_t Ldc, bool Continue) {
  if (M == 0 || N == 0) return;
  const auto Threads = static_cast<size_t>(MaxThreads());
  const size_t NR = Kernel().NR;
  if (Threads < 2 || static_cast<double>(M) * N * K < ThreadedWork || N < 2 * NR)
    return SerialGemm(M, N, K, A, B, C, Ldc, Continue);
  // Independent blocks of C's columns, whole register tiles each: every element is computed
  // by the same kernel over the same k-blocks as on one thread, so the bits are the same.
  const size_t Tiles = (N + NR - 1) / NR, Parts = std::min(Threads, Tiles);
  ParallelFor(Parts, [&](size_t p) {
    const size_t J0 = Tiles * p / Parts * NR, J1 = std::min(N, Tiles * (p + 1) / Parts * NR);
    const TOperand Bj{B.Data + (B.Transposed ? J0 : J0 * B.Ld), B.Ld, B.Transposed};
    SerialGemm(M, J1 - J0, K, A, Bj, C + J0 * Ldc, Ldc, Continue);
  });
}

void ReserveGemmSpace(size_t M, size_t N, size_t K) {
  if (M != 0 && N != 0 && K != 0) PackSpace(PackSpaceFor(M, N, K));
}

}  // namespace zeq::detail
