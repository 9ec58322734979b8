// Charts as self-contained SVG documents, and files that appear complete or not at all.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "cli.h"
#include "zeq/math1/math1.h"

namespace zeqcli {

namespace {

constexpr double Width = 800, Height = 500;
constexpr double Left = 80, Right = 780, Top = 50, Bottom = 430;  // the plot area
const char* const Palette[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e"};

std::string Xml(const std::string& S) {
  std::string R;
  for (char C : S) {
    switch (C) {
      case '&':
        R += "&amp;";
        break;
      case '<':
        R += "&lt;";
        break;
      case '>':
        R += "&gt;";
        break;
      case '"':
        R += "&quot;";
        break;
      default:
        R += C;
    }
  }
  return R;
}

std::string Num(double X) {
  char Buf[32];
  std::snprintf(Buf, sizeof Buf, "%.2f", X);
  return Buf;
}

// One axis: the data range widened a little, and the ticks of the library's 1-2-5 scale.
struct TAxis {
  double Lo = 0, Hi = 1;
  std::vector<double> Ticks;

  TAxis(double Min, double Max) {
    if (!(Min <= Max)) Min = 0, Max = 1;  // no finite value at all
    const double Pad = Max > Min ? (Max - Min) * 0.05 : std::max(std::fabs(Min) * 0.1, 1.0);
    Lo = Min - Pad, Hi = Max + Pad;
    long double First, Dist;
    uint16_t Minor;
    zeq::CalcScalePars(5, Lo, Hi, First, Dist, Minor);
    for (int k = 0; Dist > 0 && k < 100; ++k) {
      const double T = static_cast<double>(First + k * Dist);
      if (T > Hi + 1e-9 * (Hi - Lo)) break;
      if (T >= Lo - 1e-9 * (Hi - Lo)) Ticks.push_back(std::fabs(T) < 1e-12 * Dist ? 0.0 : T);
    }
  }
  double Map(double V, double From, double To) const {
    return From + (V - Lo) / (Hi - Lo) * (To - From);
  }
};

// The range of the finite values of the series in one direction.
std::pair<double, double> Range(const std::vector<TSeries>& Series, bool Y) {
  double Min = std::numeric_limits<double>::infinity(), Max = -Min;
  for (const TSeries& S : Series) {
    for (double V : Y ? S.Y : S.X)
      if (std::isfinite(V)) Min = std::min(Min, V), Max = std::max(Max, V);
    if (S.Kind != TSeriesKind::Bars) continue;
    if (Y) {
      Min = std::min(Min, 0.0), Max = std::max(Max, 0.0);  // bars stand on zero
    } else if (S.X.size() > 1) {
      const double Half = std::fabs(S.X[1] - S.X[0]) / 2;  // and are as wide as their spacing
      Min -= Half, Max += Half;
    }
  }
  return {Min, Max};
}

}  // namespace

std::string TPlot::Svg() const {
  const auto [XMin, XMax] = Range(Series, false);
  const auto [YMin, YMax] = Range(Series, true);
  const TAxis XA(XMin, XMax), YA(YMin, YMax);
  const auto PX = [&](double V) { return Num(XA.Map(V, Left, Right)); };
  const auto PY = [&](double V) { return Num(YA.Map(V, Bottom, Top)); };
  std::ostringstream S;
  S << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"800\" height=\"500\" viewBox=\"0 0 800 "
       "500\""
    << " font-family=\"sans-serif\" font-size=\"13\">\n"
    << "<defs><clipPath id=\"area\"><rect x=\"" << Left << "\" y=\"" << Top << "\" width=\""
    << Right - Left << "\" height=\"" << Bottom - Top << "\"/></clipPath></defs>\n"
    << "<rect width=\"" << Width << "\" height=\"" << Height << "\" fill=\"white\"/>\n"
    << "<text class=\"title\" x=\"430\" y=\"28\" text-anchor=\"middle\" font-size=\"17\">"
    << Xml(Title) << "</text>\n";
  for (double T : XA.Ticks)
    S << "<line class=\"grid\" x1=\"" << PX(T) << "\" y1=\"" << Top << "\" x2=\"" << PX(T)
      << "\" y2=\"" << Bottom << "\" stroke=\"#e5e5e5\"/>\n"
      << "<text class=\"tick-label\" x=\"" << PX(T) << "\" y=\"" << Bottom + 18
      << "\" text-anchor=\"middle\">" << FormatNumber(T) << "</text>\n";
  for (double T : YA.Ticks)
    S << "<line class=\"grid\" x1=\"" << Left << "\" y1=\"" << PY(T) << "\" x2=\"" << Right
      << "\" y2=\"" << PY(T) << "\" stroke=\"#e5e5e5\"/>\n"
      << "<text class=\"tick-label\" x=\"" << Left - 8 << "\" y=\"" << PY(T)
      << "\" text-anchor=\"end\" dominant-baseline=\"middle\">" << FormatNumber(T) << "</text>\n";
  S << "<rect class=\"frame\" x=\"" << Left << "\" y=\"" << Top << "\" width=\"" << Right - Left
    << "\" height=\"" << Bottom - Top << "\" fill=\"none\" stroke=\"#333\"/>\n"
    << "<text class=\"axis-label\" x=\"" << (Left + Right) / 2 << "\" y=\"" << Height - 22
    << "\" text-anchor=\"middle\">" << Xml(XLabel) << "</text>\n"
    << "<text class=\"axis-label\" x=\"22\" y=\"" << (Top + Bottom) / 2
    << "\" text-anchor=\"middle\" transform=\"rotate(-90 22 " << (Top + Bottom) / 2 << ")\">"
    << Xml(YLabel) << "</text>\n";
  S << "<g clip-path=\"url(#area)\">\n";
  for (size_t k = 0; k < Series.size(); ++k) {
    const TSeries& Ser = Series[k];
    const char* Color = Palette[k % 5];
    if (Ser.Kind == TSeriesKind::Line) {  // a point that is not finite breaks the line
      const auto Finite = [&](size_t i) {
        return std::isfinite(Ser.X[i]) && std::isfinite(Ser.Y[i]);
      };
      for (size_t i = 0; i < Ser.X.size();) {
        S << "<polyline class=\"line\" fill=\"none\" stroke=\"" << Color
          << "\" stroke-width=\"2\" points=\"";
        for (; i < Ser.X.size() && Finite(i); ++i) S << PX(Ser.X[i]) << "," << PY(Ser.Y[i]) << " ";
        S << "\"/>\n";
        while (i < Ser.X.size() && !Finite(i)) ++i;
      }
      continue;
    }
    const double BarWidth =
        Ser.X.size() > 1 ? (Right - Left) / (XA.Hi - XA.Lo) * std::fabs(Ser.X[1] - Ser.X[0]) * 0.8
                         : 10;
    for (size_t i = 0; i < Ser.X.size(); ++i) {
      if (!std::isfinite(Ser.X[i]) || !std::isfinite(Ser.Y[i])) continue;
      if (Ser.Kind == TSeriesKind::Points) {
        S << "<circle class=\"point\" cx=\"" << PX(Ser.X[i]) << "\" cy=\"" << PY(Ser.Y[i])
          << "\" r=\"3\" fill=\"" << Color << "\"/>\n";
      } else {
        const double Y0 = YA.Map(0, Bottom, Top), Y1 = YA.Map(Ser.Y[i], Bottom, Top);
        S << "<rect class=\"bar\" x=\"" << Num(XA.Map(Ser.X[i], Left, Right) - BarWidth / 2)
          << "\" y=\"" << Num(std::min(Y0, Y1)) << "\" width=\"" << Num(BarWidth) << "\" height=\""
          << Num(std::fabs(Y1 - Y0)) << "\" fill=\"" << Color << "\"/>\n";
      }
    }
  }
  S << "</g>\n";
  if (!Series.empty())  // the legend, top right inside the frame, on a white ground
    S << "<rect class=\"legend-ground\" x=\"" << Right - 178 << "\" y=\"" << Top + 4
      << "\" width=\"172\" height=\"" << 20 * Series.size() + 4
      << "\" fill=\"white\" fill-opacity=\"0.85\" stroke=\"#ccc\"/>\n";
  for (size_t k = 0; k < Series.size(); ++k) {
    const double Y = Top + 16 + 20 * static_cast<double>(k);
    S << "<g class=\"legend\"><rect x=\"" << Right - 170 << "\" y=\"" << Y - 9
      << "\" width=\"14\" height=\"10\" fill=\"" << Palette[k % 5] << "\"/><text x=\""
      << Right - 150 << "\" y=\"" << Y << "\">" << Xml(Series[k].Name) << "</text></g>\n";
  }
  S << "</svg>\n";
  return S.str();
}

void WriteFileAtomically(const std::string& Path, const std::string& Text) {
  const std::string Temp = Path + ".part";
  {
    std::ofstream Out(Temp, std::ios::binary | std::ios::trunc);
    Out << Text;
    Out.close();
    if (!Out) {
      std::error_code Ignored;
      std::filesystem::remove(Temp, Ignored);
      throw TInputError(Path + ": cannot be written");
    }
  }
  std::error_code Error;
  std::filesystem::rename(Temp, Path, Error);
  if (Error) {
    std::filesystem::remove(Temp, Error);
    throw TInputError(Path + ": cannot be written");
  }
}

void PlotIfAsked(const TOptions& Options, const TPlot& Plot) {
  if (Options.Has("plot")) WriteFileAtomically(Options.Text("plot", ""), Plot.Svg());
}

}  // namespace zeqcli
