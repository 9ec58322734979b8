/// @file
/// zeq multivariate analysis, smoothing and curve fitting (unit Zeq_math2): smoothing,
/// derivatives and digital filters, curve fitting with the singular value decomposition
/// solver, covariance and eigen analysis, clustering, and geometry.
///
/// One header per subject; this one gathers them.
#pragma once

#include "zeq/math2/cluster.h"
#include "zeq/math2/curvefit.h"
#include "zeq/math2/eigen.h"
#include "zeq/math2/filters.h"
#include "zeq/math2/geometry.h"
#include "zeq/math2/math2_error.h"
#include "zeq/math2/smoothing.h"
#include "zeq/math2/svd.h"
