#include "XlsxSheet.h"

#include <xlsxwriter.h>

namespace velmora::office {

XlsxSheet::XlsxSheet(const QString &path, const QString &sheetName)
    : m_path(path)
{
    m_workbook = workbook_new(path.toUtf8().constData());
    if (!m_workbook)
        throw XlsxError(QStringLiteral("datoteka %1 se ne može napraviti").arg(path).toStdString());
    m_sheet = workbook_add_worksheet(m_workbook, sheetName.toUtf8().constData());
    m_text = workbook_add_format(m_workbook);
    format_set_num_format(m_text, "@");
    if (!m_sheet || !m_text)
        throw XlsxError("radni list se ne može napraviti");
}

XlsxSheet::~XlsxSheet()
{
    if (m_workbook)
        workbook_close(m_workbook); // a failure here was already reported by close()
}

void XlsxSheet::check(int error, const char *what) const
{
    if (error != LXW_NO_ERROR)
        throw XlsxError(QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLatin1(lxw_strerror(lxw_error(error)))).toStdString());
}

void XlsxSheet::writeNumber(int row, int column, double value)
{
    check(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(column), value, nullptr), "broj");
}

void XlsxSheet::writeText(int row, int column, const QString &text)
{
    check(worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column), text.toUtf8().constData(), m_text), "tekst");
}

void XlsxSheet::writeEmptyText(int row, int column)
{
    check(worksheet_write_blank(m_sheet, lxw_row_t(row), lxw_col_t(column), m_text), "prazna ćelija");
}

void XlsxSheet::setColumnWidth(int column, double characters)
{
    worksheet_set_column(m_sheet, lxw_col_t(column), lxw_col_t(column), characters, nullptr);
}

void XlsxSheet::close()
{
    const lxw_error error = workbook_close(m_workbook);
    m_workbook = nullptr;
    if (error != LXW_NO_ERROR)
        throw XlsxError(QStringLiteral("%1: %2").arg(m_path, QString::fromLatin1(lxw_strerror(error))).toStdString());
}

} // namespace velmora::office
