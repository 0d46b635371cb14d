#pragma once

#include <QString>

namespace velmora {

class TfrmGrid;

// What a grid shows, in its current order and filter, as an .xlsx workbook
// with the one sheet "Ruzudor": the column titles, then a row per record,
// integer and decimal fields as numbers and everything else as text-formatted
// cells. The workbook is then opened with the desktop's default application
// (or its path shown where there is none). Any failure shows
// "Doslo je do greske: " and the reason. Returns the file written, or empty.
QString ExportGridToExcel(TfrmGrid *grid);

// The workbook alone, at a path of the caller's (the export's first half).
void WriteGridWorkbook(TfrmGrid *grid, const QString &path);

} // namespace velmora
