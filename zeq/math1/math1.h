/// @file
/// zeq elementary mathematics (unit Zeq_math1): array algorithms, scalar functions, number
/// formatting and conversion.
#pragma once

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

/// Invalid arguments of the elementary functions.
class ZEQ_API EZEQMath1Error : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

}  // namespace zeq

#include "zeq/math1/arrays.h"
#include "zeq/math1/format.h"
#include "zeq/math1/scalar.h"
