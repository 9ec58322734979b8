/// @file
/// zeq base layer: the component frame, exceptions, progress hooks, check strings, streams,
/// number-to-text conversion, bit fields, colours, the uniform generator and shared types.
#pragma once

#include "zeq/base/asc_header.h"
#include "zeq/base/bitfld.h"
#include "zeq/base/bitmap.h"
#include "zeq/base/colors.h"
#include "zeq/base/crc.h"
#include "zeq/base/errors.h"
#include "zeq/base/extended.h"
#include "zeq/base/hooks.h"
#include "zeq/base/numtext.h"
#include "zeq/base/object.h"
#include "zeq/base/random.h"
#include "zeq/base/streams.h"
#include "zeq/base/strings.h"
#include "zeq/base/threads.h"
#include "zeq/base/types.h"
