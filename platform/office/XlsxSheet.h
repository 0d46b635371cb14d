#pragma once

#include <QString>

#include <stdexcept>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace velmora::office {

class XlsxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An .xlsx workbook of one sheet, written with libxlsxwriter: numbers as
// numbers, everything else as text-formatted cells. close() writes the file.
class XlsxSheet {
public:
    XlsxSheet(const QString &path, const QString &sheetName);
    ~XlsxSheet();
    XlsxSheet(const XlsxSheet &) = delete;
    XlsxSheet &operator=(const XlsxSheet &) = delete;

    void writeNumber(int row, int column, double value);
    void writeText(int row, int column, const QString &text);
    void writeEmptyText(int row, int column); // an empty cell in text format
    void setColumnWidth(int column, double characters);
    void close();

private:
    void check(int error, const char *what) const;

    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_text = nullptr;
    QString m_path;
};

} // namespace velmora::office
