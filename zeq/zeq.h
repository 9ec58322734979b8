/// @file
/// zeq: every unit of the library.
#pragma once

#include "zeq/base/base.h"
#include "zeq/complex/complex.h"
#include "zeq/datatable/datatable.h"
#include "zeq/fourier/fourier.h"
#include "zeq/kohonen/kohonen.h"
#include "zeq/math1/math1.h"
#include "zeq/math2/math2.h"
#include "zeq/matrix/matrix.h"
#include "zeq/sline/sline.h"
#include "zeq/statis/statis.h"
#include "zeq/vector/vector.h"
#include "zeq/version.h"
#include "zeq/wavelet/wavelet.h"
