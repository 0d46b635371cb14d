#pragma once

#include "app/TcMain.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;

namespace velmora {

class TDBCheckBox;
class TDBEdit;
class TDBMemo;
class TfrmGrid;
class TfrmLookUp;

namespace data {
class Dataset;
}

// Tag bits of a control on a dialog page.
enum ControlTag {
    tagKey = 2,             // enabled and focused in insert (upper case for text), disabled in edit
    tagFocusOnEdit = 4,     // enabled and focused in edit
    tagDisabledOnEdit = 16, // disabled in edit
    tagFocusAlways = 32,    // enabled and focused in insert and edit
    tagKeepList = 128,      // on a lookup's list: its dataset stays open when the dialog closes
};

// The base of every record dialog: it edits the current row of its grid
// frame's dataset, checks the key and the required columns, posts, requeries
// and returns to the saved row. Derived dialogs lay out their bound controls
// on the pages and assign generated keys in aSaveExecute before the base save.
class TcDataDialog : public TcMain {
    Q_OBJECT
public:
    explicit TcDataDialog(TfrmGrid *owner);

    bool isEditDialog() const override { return true; }
    void FormCreate() override;
    void FormShow() override;
    void FormClose() override;

    virtual void aSaveExecute();
    void aCancelExecute();

    void PrepareControls();
    void ApplyTagRules(QWidget *control);
    void InitLookupFrame(QWidget *control);
    void NormaliseBeforePost();
    bool CheckRequired();
    void ReportKeyProblem(const QString &keyColumn, const QString &keyLiteral);

    data::Dataset *dataset() const;
    TfrmGrid *ownerFrame() const { return m_owner; }

    QTabWidget *pcDialog = nullptr;
    QWidget *TabSheet1 = nullptr;
    QFrame *Bevel1 = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnOdustani = nullptr;
    QCheckBox *cbKont = nullptr;
    QAction *aSave = nullptr;
    QAction *aCancel = nullptr;
    QAction *aCut = nullptr;
    QAction *aCopy = nullptr;
    QAction *aPaste = nullptr;
    QAction *aSelectAll = nullptr;
    QMenu *pmDataDialog = nullptr;

protected:
    // Building a page: a label above each control, in order.
    QWidget *addPage(const QString &caption);
    TDBEdit *addEdit(QWidget *page, const QString &label, const QString &field, int tag = 0);
    TDBMemo *addMemo(QWidget *page, const QString &label, const QString &field, int tag = 0);
    TDBCheckBox *addCheckBox(QWidget *page, const QString &caption, const QString &field, int tag = 0);
    TfrmLookUp *addLookup(QWidget *page, const QString &label, const QString &field, const QString &name = QStringLiteral("frmLookUp1"));

private:
    QList<QWidget *> examinedControls(QWidget *page) const;
    bool isRequired(const QString &field) const;
    void markRequired(QWidget *control, bool required);
    QString controlField(QWidget *control) const;

    TfrmGrid *m_owner;
};

} // namespace velmora
