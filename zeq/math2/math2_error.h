/// @file
/// The exception classes of the multivariate unit (smoothing, filters, curve fitting, eigen
/// analysis, clustering, geometry). Every subject header of the unit includes this one.
#pragma once

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

/// Raised by the routines of the unit with the texts their headers document.
class ZEQ_API EZEQMath2Error : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

/// For applications that want a mathematics exception class of their own kind; no routine of
/// the library raises it.
class ZEQ_API EZEQMathExp : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

}  // namespace zeq
