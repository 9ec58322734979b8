// Helpers shared by the sections of zeq-demo: headings, number formatting, and the tours of
// the units that live in files of their own.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>

#include "zeq/zeq.h"

namespace demo {

// Every section in turn; the demo's exit code.
int RunDemo();

inline void Heading(const char* Title) { std::printf("\n== %s ==\n", Title); }

inline std::string Fixed(double X, int Decimals = 2) { return zeq::StrFixed(X, 1, Decimals); }

// tools/demo_math2.cc
void SmoothingTour();
void CurveFitTour();
void PrincipalComponentsTour();
void ClusteringTour();
void GeometryTour();

// tools/demo_table.cc
void DataTableTour();

// tools/demo_arrays.cc
void ArraysAndMapsTour();

// tools/demo_sampling.cc
void SamplingTour();

// tools/demo_transforms.cc
void TransformsTour();

}  // namespace demo
