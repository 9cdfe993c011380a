// The ".dat" file of an interpolation sheet: one line per row, "#", x and f(x) separated by two
// blanks when written; lines of one, two or three fields separated by commas or blanks when read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "interpolation/interpolation_sheet.h"

namespace interpolation {

// ScrieFisier ("write file"): the file's bytes for the sheet's rows, CR LF after each line.
std::string DatFileText(const TInterpolationSheet& sheet);

// The row one line gives: three fields are "#", x and f(x); two are x and f(x); one is x.
TSheetRow DatLineRow(std::string_view line);
// The rows of a whole file, one per line (LF or CR LF, or CR in a file without LF); EEvalError
// when there are more than a sheet holds.
std::vector<TSheetRow> DatFileRows(std::string_view text);

// A sheet of kMaxSheetRows lines of some hundred characters each still fits: larger files are
// refused ("File too large") before anything is read.
inline constexpr std::size_t kMaxDatBytes = 128u * 1024u * 1024u;

// CitesteFisier ("read file"): the rows of the file at `path`. Raises EEvalError with the
// user's message when the file cannot be read ("Cannot read " + path + ": " + the reason), is
// too large, is not text ("Not a text file") or has too many lines. UTF-8 is read as
// single-byte text.
std::vector<TSheetRow> ReadDatFile(const std::string& path);
// Writes the sheet's rows to `path` by the safe save; EEvalError with its message on failure.
void WriteDatFile(const std::string& path, const TInterpolationSheet& sheet);

// The file read into a sheet: its rows, then its file name and mark, and both changed marks so
// that the functions read the new points. A failure raises and leaves the sheet as it was.
void LoadSheetFile(TInterpolationSheet& sheet, const std::string& path);
// The sheet written to `path`, which becomes its file.
void SaveSheetFile(TInterpolationSheet& sheet, const std::string& path);

}  // namespace interpolation
