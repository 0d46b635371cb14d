#pragma once

#include "DatasetModel.h"

#include <QStringList>
#include <QWidget>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableView;

namespace velmora {

class TcData;
class TcDataDialog;

namespace data {
class Dataset;
class Field;
}

// The grid frame: a read-only grid over one dataset with sorting by title
// clicks, a search bar that locates or filters, a five-panel status bar and the
// export to a spreadsheet. It always sits on a browse window (TcData).
class TfrmGrid : public QWidget {
    Q_OBJECT
public:
    explicit TfrmGrid(TcData *owner, const QString &name);
    ~TfrmGrid() override;

    void setDataset(data::Dataset *dataset, const QList<GridColumn> &columns);
    data::Dataset *dataset() const;
    DatasetModel *model() const { return m_model; }
    TcData *owner() const { return m_owner; }

    QTableView *dbGrid = nullptr;
    QWidget *Panel1 = nullptr;
    QLabel *TntLabel1 = nullptr;
    QLineEdit *edPretraga = nullptr;
    QCheckBox *cbPretPoDeluReci = nullptr;
    QPushButton *Button1 = nullptr;
    QStatusBar *sbGrid = nullptr;
    QAction *aPostaviFilter = nullptr;
    QAction *aSkiniFilter = nullptr;
    QAction *aExcel = nullptr;
    QAction *aIskljuciPretragu = nullptr;

    TcDataDialog *EditDialog = nullptr;
    int SearchColumn = -1;
    QString SearchField;
    QString SearchText;
    bool SearchActive = false;
    bool Found = false;
    bool GridFocused = false;
    bool FilterMode = false;
    bool ShiftHeld = false;
    QString SortField;
    QStringList SortList;    // name, " ASC"/" DESC", ...
    QStringList FilterPairs; // name, value, ...
    QString FilterText;

    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);

    void FrameEnter();
    void dbGridTitleClick(int column);
    void edPretragaChange();
    void cbPretPoDeluReciClick();
    void UpdateRecordCounter();
    void SetIsLocateBar(int column, const QString &text);
    // Keeps FilterPairs and FilterText; returns whether the field had a criterion.
    bool BuildFilter(const QString &field, const QString &newValue, bool lookupOnly, QString *previous = nullptr);
    void aPostaviFilterExecute();
    void aSkiniFilterExecute();
    void aIskljuciPretraguExecute();
    void aExcelExecute();
    void dbGridDblClick();

    // Whether a field kind can be filtered (text, the integer kinds, decimals).
    static bool isFilterable(const data::Field *field);

signals:
    // Key and mouse-button releases in the grid, after the frame's own handling:
    // master/detail windows reload their details here.
    void gridKeyUp();
    void gridMouseUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusChanged(QWidget *old, QWidget *now);
    void applyTitleStyle(int column, const QColor &color, bool bold);
    void resetTitleStyles();
    void syncCurrentFromDataset();
    void placeSearchBar();
    data::Field *fieldOfColumn(int column) const;

    TcData *m_owner;
    DatasetModel *m_model;
    QList<QLabel *> m_panels;
    bool m_syncing = false;
};

} // namespace velmora
