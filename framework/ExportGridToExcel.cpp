#include "ExportGridToExcel.h"

#include "TfrmGrid.h"
#include "app/YUDlg.h"
#include "platform/dataset/Dataset.h"
#include "platform/office/XlsxSheet.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QStandardPaths>
#include <QTableView>
#include <QHeaderView>
#include <QUrl>

namespace velmora {

void WriteGridWorkbook(TfrmGrid *grid, const QString &path)
{
    data::Dataset *d = grid->dataset();
    office::XlsxSheet sheet(path, QStringLiteral("Ruzudor"));
    const DatasetModel *model = grid->model();
    // Columns in display order.
    QList<int> order;
    for (int visual = 0; visual < model->columnCount(); ++visual) {
        const int logical = grid->dbGrid->horizontalHeader()->logicalIndex(visual);
        if (!grid->dbGrid->isColumnHidden(logical))
            order << logical;
    }
    for (int i = 0; i < order.size(); ++i) {
        sheet.writeText(0, i, model->headerData(order[i], Qt::Horizontal, Qt::DisplayRole).toString());
        sheet.setColumnWidth(i, std::max(8, grid->dbGrid->columnWidth(order[i]) / 7));
    }
    if (!d || !d->active()) {
        sheet.close();
        return;
    }
    for (int row = 0; row < d->recordCount(); ++row) {
        for (int i = 0; i < order.size(); ++i) {
            const int column = model->datasetColumn(order[i]);
            if (column < 0)
                continue; // an unbound column leaves its cell empty
            const data::Field *field = d->fields().value(column);
            const QVariant value = d->valueAt(row, column);
            if (!value.isValid()) {
                sheet.writeEmptyText(row + 1, i);
            } else if (field && field->isNumericKind()) {
                sheet.writeNumber(row + 1, i, value.toDouble());
            } else {
                sheet.writeText(row + 1, i, d->displayTextAt(row, column));
            }
        }
    }
    sheet.close();
}

QString ExportGridToExcel(TfrmGrid *grid)
{
    data::Dataset *d = grid->dataset();
    if (d)
        d->disableControls();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString path;
    try {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QDir().mkpath(folder);
        path = QDir(folder).filePath(QStringLiteral("Velmora %1.xlsx").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"))));
        WriteGridWorkbook(grid, path);
        QApplication::restoreOverrideCursor();
        if (d)
            d->enableControls();
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            MessageDialog(QStringLiteral("Tabela je snimljena u datoteku:\r%1").arg(path), mtInformation, mbOK);
        return path;
    } catch (const std::exception &error) {
        QApplication::restoreOverrideCursor();
        if (d)
            d->enableControls();
        MessageDialog(QStringLiteral("Doslo je do greske: ") + QString::fromUtf8(error.what()), mtWarning, mbOK);
        return QString();
    }
}

} // namespace velmora
