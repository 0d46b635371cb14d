#pragma once

#include "DatasetModel.h"
#include "app/TcMain.h"

#include <QVariant>

class QAction;
class QMenu;
class QMenuBar;
class QPrinter;
class QPushButton;
class QVBoxLayout;

namespace velmora {

class TfrmGrid;

namespace data {
class Dataset;
}

// The browse window every list window derives from: one or more grid frames,
// a toolbar of twelve buttons in two rows, a main menu and a context menu over
// the dataset of the grid frame entered last; it also serves as the picker a
// lookup frame opens.
class TcData : public TcMain {
    Q_OBJECT
public:
    explicit TcData(QWidget *parent = nullptr);
    ~TcData() override;

    void FormCreate() override;
    void FormShow() override;
    void FormClose() override;
    bool FormKeyPress(QKeyEvent *event) override;

    TfrmGrid *frmMain = nullptr;
    QWidget *fcButtonGroup1 = nullptr;
    QMenuBar *mmBrowse = nullptr;
    QMenu *pmBrowse = nullptr;
    QList<QAction *> alBrowse;
    QAction *aExit, *aFirst, *aPrior, *aNext, *aLast, *aInsert, *aDelete, *aEdit, *aPost, *aCancel, *aRefresh, *aHelp, *aPrint,
        *aFind, *aPrinterSetup, *aKal, *aPrekidStampe, *aPostaviFilter, *aSkiniFilter, *aExcelData;

    QString LayoutFolder;
    bool LookupMode = false;
    int ActiveGridIndex = 0;
    // The field the picker locates Globals.LastKey in; empty means the key field.
    static inline QString LookupLocateField;
    QString SavedIndexFields;
    QString InitialSortField;

    void aInsertExecute();
    void aEditExecute();
    void aDeleteExecute();
    void aRefreshExecute();
    void aExitExecute();
    void aHelpExecute();
    void aKalExecute();
    void aPrinterSetupExecute();
    void aPrekidStampeExecute();
    void aPostaviFilterExecute();
    void aSkiniFilterExecute();
    void aExcelDataExecute();

    QList<TfrmGrid *> gridFrames() const;
    TfrmGrid *activeFrame() const;
    int GridIndexOf(const data::Dataset *dataset) const;
    QString KeyFieldName() const;
    void LookUpOff(data::Dataset *dataset);
    // The frame whose grid was entered last; the toolbar and menus act on its dataset.
    void setActiveFrame(TfrmGrid *frame);
    void setContextMenuFrame(TfrmGrid *frame);
    QString layoutFile(const TfrmGrid *frame) const;

    static QPrinter &printer();

protected:
    // Derived windows put further grid frames here, under frmMain.
    QVBoxLayout *clientLayout() const { return m_client; }
    TfrmGrid *addGridFrame(const QString &name);
    void updateActions();

private:
    void saveLayout(const TfrmGrid *frame) const;
    void loadLayout(TfrmGrid *frame) const;

    QVBoxLayout *m_client = nullptr;
    QPushButton *m_filterButton = nullptr;
    QList<TfrmGrid *> m_frames;
};

} // namespace velmora
