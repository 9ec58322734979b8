// The zeq command-line tool: shared types of its parts (options, input columns, reports,
// plots) and the subcommands it dispatches to.
//
// Exit codes: 0 success, 1 bad input (the message names the file, line and column), 2 usage
// (unknown subcommand or option, missing or malformed argument).
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace zeq {
class TVector;
}

namespace zeqcli {

// A mistake in the command line: exit code 2.
struct TUsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Data the tool cannot use (unreadable file, a field that is not a number, too few values for
// the method): exit code 1.
struct TInputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// ---- options ----

// One option of a subcommand: "--name" (and "-s" when Short is set), with a value when
// Meta is not empty (shown in the help as --name META).
struct TOptionSpec {
  std::string Name;
  char Short = 0;
  std::string Meta;
  std::string Help;
};

// The parsed command line of a subcommand: option values by name (flags map to "1") and the
// positional arguments.
class TOptions {
 public:
  TOptions(const std::vector<std::string>& Args, const std::vector<TOptionSpec>& Specs);
  bool Has(const std::string& Name) const { return FValues.count(Name) != 0; }
  std::string Text(const std::string& Name, const std::string& Default) const;
  double Number(const std::string& Name, double Default) const;
  int Integer(const std::string& Name, int Default, int Min, int Max) const;
  const std::vector<std::string>& Positional() const { return FPositional; }

 private:
  std::map<std::string, std::string> FValues;
  std::vector<std::string> FPositional;
};

// The options every data subcommand takes.
std::vector<TOptionSpec> CommonOptions();

// ---- input ----

// Columns of numbers read from a file or standard input.
struct TColumns {
  std::string Source;              // the file name, or "<stdin>"
  std::vector<std::string> Names;  // from the header line, or "1", "2", ...
  std::vector<std::vector<double>> Values;
};

// Reads whitespace- or comma-separated columns (comma when the first data line has one) from
// Path ("-" for standard input). A first line with a field that is not a number is a header
// unless NoHeader; Selection ("2,height") picks columns by number (from 1) or header name, in
// that order; empty takes them all. Every selected field must be a number: otherwise
// TInputError "file:line:column: 'text' is not a number".
TColumns ReadColumns(const std::string& Path, const std::string& Selection, bool NoHeader);

// The data file of a subcommand's command line (the first positional argument, "-" without
// one) read with the common options.
TColumns ReadInput(const TOptions& Options);

// ---- output ----

// The result of a subcommand: named values and tables, printed as aligned text, CSV or JSON.
class TReport {
 public:
  void Value(const std::string& Name, double X);
  void Value(const std::string& Name, const std::string& Text);
  // A table of numbers; with RowLabels the first column holds their texts (Header names it).
  void Table(const std::string& Name, const std::vector<std::string>& Header,
             const std::vector<std::vector<double>>& Rows,
             const std::vector<std::string>& RowLabels = {});
  // "text", "csv" or "json".
  std::string Render(const std::string& Format) const;

 private:
  struct TItem {
    std::string Name;
    bool IsText = false;
    double Number = 0;
    std::string Text;
    std::vector<std::string> Header;
    std::vector<std::vector<double>> Rows;  // a table when Header is not empty
    std::vector<std::string> RowLabels;
  };
  std::vector<TItem> FItems;
};

// The output format chosen by --csv / --json (text otherwise).
std::string OutputFormat(const TOptions& Options);

// A number as the reports print it: up to 10 significant digits, "nan", "inf".
std::string FormatNumber(double X);

// ---- plots ----

enum class TSeriesKind { Points, Line, Bars };

// A series of a plot; a line breaks at points that are not finite.
struct TSeries {
  std::string Name;
  TSeriesKind Kind = TSeriesKind::Points;
  std::vector<double> X, Y;
};

// A chart drawn as a self-contained SVG document of 800 x 500 pixels: axes ticked with the
// library's 1-2-5 scale, axis labels, a legend and the series.
struct TPlot {
  std::string Title, XLabel, YLabel;
  std::vector<TSeries> Series;
  std::string Svg() const;
};

// Writes Text to Path so that the file appears complete or not at all (a temporary file in
// the same folder, renamed over Path). TInputError when it cannot be written.
void WriteFileAtomically(const std::string& Path, const std::string& Text);

// Writes the plot to the --plot file when one was asked for.
void PlotIfAsked(const TOptions& Options, const TPlot& Plot);

// ---- long computations ----

// While alive: a progress line on standard error when it is a terminal (fed by the library's
// progress hook; Total steps, or a count when Total is 0), and Ctrl-C asks the library to stop
// (AbortMathProc). Aborted() tells whether it did.
class TProgress {
 public:
  explicit TProgress(const std::string& Label, double Total = 0);
  ~TProgress();
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;
  static bool Aborted();
};

// ---- subcommands ----

struct TCommand {
  std::string Name, Usage;
  std::string Summary;               // one line, for the list of commands
  std::string Description;           // the help's paragraph
  std::vector<TOptionSpec> Options;  // besides the common ones
  std::function<void(const TOptions&)> Run;
  bool TakesData = true;  // reads columns and accepts the common options
};

const std::vector<TCommand>& Commands();

// The help text of one subcommand.
std::string CommandHelp(const TCommand& Command);

TCommand StatsCommand();
TCommand TestCommand();
TCommand FitCommand();
TCommand SmoothCommand();
TCommand FilterCommand();
TCommand FftCommand();
TCommand WaveletCommand();
TCommand PcaCommand();
TCommand ClusterCommand();
TCommand DemoCommand();

// Helpers of the data subcommands.
// The one column a subcommand works on: the first selected.
const std::vector<double>& FirstColumn(const TColumns& Data, size_t MinValues);
// Subcommands whose first argument names a variant (fit line, test anova...): that word
// (TUsageError Missing without one), and the data of the file that follows it.
std::string Variant(const TOptions& Options, const std::string& Missing);
TColumns ReadInputAfterVariant(const TOptions& Options);
// A column as a vector of the library.
void ToVector(const std::vector<double>& X, zeq::TVector& V);
// Prints the report in the chosen format to standard output.
void Print(const TOptions& Options, const TReport& Report);

}  // namespace zeqcli
