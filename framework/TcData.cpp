#include "TcData.h"

#include "TcDataDialog.h"
#include "TfrmGrid.h"
#include "app/Globals.h"
#include "app/HelpViewer.h"
#include "app/YUDlg.h"
#include "platform/dataset/Dataset.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTextStream>
#include <QVBoxLayout>

namespace velmora {
namespace {

constexpr const char *kLayoutMagic = "VelmoraGrid 1";

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

TcData::TcData(QWidget *parent)
    : TcMain(parent)
{
    resize(900, 520);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    const auto action = [this](const char *name, const QString &caption, const QString &hint, const QKeySequence &key) {
        auto *a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint.isEmpty() ? QString(caption).remove(u'&') : hint);
        a->setStatusTip(hint);
        a->setShortcut(key);
        addAction(a);
        alBrowse.append(a);
        return a;
    };
    aExit = action("aExit", QStringLiteral("&Izlaz"), QStringLiteral("Izlaz"), {});
    aFirst = action("aFirst", QStringLiteral("&Prvi"), QStringLiteral("Prelazak na prvi zapis"), {});
    aPrior = action("aPrior", QStringLiteral("Pre&thodni"), QStringLiteral("Prelazak na prethodni zapis"), {});
    aNext = action("aNext", QStringLiteral("Sle&deći"), QStringLiteral("Prelazak na sledeći slog"), {});
    aLast = action("aLast", QStringLiteral("P&oslednji"), QStringLiteral("Prelazak na poslednji zapis"), {});
    aInsert = action("aInsert", QStringLiteral("&Unos"), QStringLiteral("Unos novog podatka"), Qt::Key_Insert);
    aDelete = action("aDelete", QStringLiteral("&Brisanje"), QStringLiteral("Brisanje označenog podatka"), Qt::Key_Delete);
    aEdit = action("aEdit", QStringLiteral("&Izmena"), QStringLiteral("Izmena označenog podatka"), {});
    aPost = action("aPost", QStringLiteral("&Snimanje"), QStringLiteral("Snimanje podataka"), {});
    aCancel = action("aCancel", QStringLiteral("&Odustajanje"), QStringLiteral("Odustajanje od započete akcije"), {});
    aRefresh = action("aRefresh", QStringLiteral("&Osvežavanje"), QStringLiteral("Osvežavanje tabele"), Qt::Key_F5);
    aHelp = action("aHelp", QStringLiteral("&Uputstvo"), QStringLiteral("Uputstvo za rad sa programom"), Qt::Key_F1);
    aPrint = action("aPrint", QStringLiteral("&Štampa"), QStringLiteral("Štampanje"), Qt::CTRL | Qt::Key_P);
    aFind = action("aFind", QStringLiteral("&Pretraga"), QStringLiteral("Pretraga po tabeli"), {});
    aPrinterSetup = action("aPrinterSetup", QStringLiteral("Podešavanje štampača"), QString(), {});
    aKal = action("aKal", QStringLiteral("&Kalkulator"), QString(), Qt::Key_F3);
    aPrekidStampe = action("aPrekidStampe", QStringLiteral("Prekidanje štampe"), QString(), Qt::CTRL | Qt::Key_Delete);
    aPostaviFilter = action("aPostaviFilter", QStringLiteral("Postavi  filter"), QStringLiteral("Postavi  filter"), Qt::Key_F11);
    aSkiniFilter = action("aSkiniFilter", QStringLiteral("Skini filter"), QStringLiteral("Skini filter"), Qt::Key_F12);
    aExcelData = action("aExcelData", QStringLiteral("Prebaci u E&xcel"), QString(), {});
    // The grid frame's own F11 and F12 come first: these two are reached by the button.
    aPostaviFilter->setShortcutContext(Qt::WidgetShortcut);
    aSkiniFilter->setShortcutContext(Qt::WidgetShortcut);
    aPrint->setEnabled(false);
    aFind->setEnabled(false);
    aPost->setVisible(false);
    aCancel->setVisible(false);

    connect(aExit, &QAction::triggered, this, &TcData::aExitExecute);
    connect(aFirst, &QAction::triggered, this, [this] { if (activeFrame()) activeFrame()->dataset()->first(); });
    connect(aPrior, &QAction::triggered, this, [this] { if (activeFrame()) activeFrame()->dataset()->prior(); });
    connect(aNext, &QAction::triggered, this, [this] { if (activeFrame()) activeFrame()->dataset()->next(); });
    connect(aLast, &QAction::triggered, this, [this] { if (activeFrame()) activeFrame()->dataset()->last(); });
    connect(aPost, &QAction::triggered, this, [this] { if (activeFrame()) activeFrame()->dataset()->post(); });
    connect(aCancel, &QAction::triggered, this, [this] { if (activeFrame()) activeFrame()->dataset()->cancel(); });
    connect(aInsert, &QAction::triggered, this, &TcData::aInsertExecute);
    connect(aEdit, &QAction::triggered, this, &TcData::aEditExecute);
    connect(aDelete, &QAction::triggered, this, &TcData::aDeleteExecute);
    connect(aRefresh, &QAction::triggered, this, &TcData::aRefreshExecute);
    connect(aHelp, &QAction::triggered, this, &TcData::aHelpExecute);
    connect(aKal, &QAction::triggered, this, &TcData::aKalExecute);
    connect(aPrinterSetup, &QAction::triggered, this, &TcData::aPrinterSetupExecute);
    connect(aPrekidStampe, &QAction::triggered, this, &TcData::aPrekidStampeExecute);
    connect(aPostaviFilter, &QAction::triggered, this, &TcData::aPostaviFilterExecute);
    connect(aSkiniFilter, &QAction::triggered, this, &TcData::aSkiniFilterExecute);
    connect(aExcelData, &QAction::triggered, this, &TcData::aExcelDataExecute);

    mmBrowse = new QMenuBar(this);
    mmBrowse->setObjectName(QStringLiteral("mmBrowse"));
    QMenu *options = mmBrowse->addMenu(QStringLiteral("Opcije"));
    options->addActions({aInsert, aEdit});
    options->addSeparator();
    options->addAction(aDelete);
    options->addSeparator();
    options->addActions({aRefresh, aPrint, aPrinterSetup});
    options->addSeparator();
    options->addAction(aExit);
    mmBrowse->addMenu(QStringLiteral("Urediti"))->addAction(aFind);
    QMenu *move = mmBrowse->addMenu(QStringLiteral("Kretanje"));
    move->addActions({aFirst, aNext});
    move->addSeparator();
    move->addActions({aPrior, aLast});
    QMenu *help = mmBrowse->addMenu(QStringLiteral("Pomoć"));
    help->addAction(aHelp);
    help->addSeparator();
    help->addAction(aKal);
    layout->setMenuBar(mmBrowse);

    pmBrowse = new QMenu(this);
    pmBrowse->setObjectName(QStringLiteral("pmBrowse"));
    pmBrowse->addActions({aInsert, aEdit});
    pmBrowse->addSeparator();
    pmBrowse->addAction(aDelete);
    pmBrowse->addSeparator();
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) { pmBrowse->popup(mapToGlobal(p)); });

    fcButtonGroup1 = new QWidget(this);
    fcButtonGroup1->setObjectName(QStringLiteral("fcButtonGroup1"));
    fcButtonGroup1->setFixedHeight(57);
    fcButtonGroup1->setStyleSheet(QStringLiteral(
        "QPushButton { border: 1px solid #7d8ca3; border-radius: 7px; padding: 2px 6px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfcfe, stop:1 #dde4ee); }"
        "QPushButton:hover { background: #eef3fa; } QPushButton:pressed { background: #c9d5e6; }"
        "QPushButton:disabled { color: #9aa3ae; } QPushButton:focus { border: 2px solid #2f5fa8; }"));
    auto *grid = new QGridLayout(fcButtonGroup1);
    grid->setContentsMargins(2, 0, 2, 0);
    grid->setSpacing(1);
    const QList<QAction *> upper = {aInsert, aPrior, aLast, aDelete, aRefresh, aExcelData};
    const QList<QAction *> lower = {aEdit, aNext, aFirst, aPostaviFilter, aKal, aExit};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 6; ++column) {
            QAction *a = (row == 0 ? upper : lower)[column];
            auto *button = new QPushButton(a->text(), fcButtonGroup1);
            button->setObjectName(QStringLiteral("btn") + a->objectName().mid(1));
            button->setFixedSize(101, 28);
            button->setFocusPolicy(Qt::NoFocus);
            button->setToolTip(a->toolTip());
            connect(button, &QPushButton::clicked, this, [this, button] {
                if (auto *bound = button->property("action").value<QAction *>())
                    bound->trigger();
            });
            button->setProperty("action", QVariant::fromValue(a));
            connect(a, &QAction::changed, button, [button] {
                if (auto *bound = button->property("action").value<QAction *>()) {
                    button->setEnabled(bound->isEnabled());
                    button->setText(bound->text());
                }
            });
            grid->addWidget(button, row, column);
            if (a == aPostaviFilter)
                m_filterButton = button;
        }
    }
    grid->setColumnStretch(6, 1);
    layout->addWidget(fcButtonGroup1);

    m_client = new QVBoxLayout;
    m_client->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_client, 1);
    frmMain = addGridFrame(QStringLiteral("frmMain"));
}

TcData::~TcData() = default;

TfrmGrid *TcData::addGridFrame(const QString &name)
{
    auto *frame = new TfrmGrid(this, name);
    m_frames.append(frame);
    if (m_frames.size() == 1)
        m_client->addWidget(frame, 1);
    connect(frame->dbGrid, &QWidget::customContextMenuRequested, this, [this, frame](const QPoint &p) {
        pmBrowse->popup(frame->dbGrid->viewport()->mapToGlobal(p));
    });
    frame->dbGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    return frame;
}

QList<TfrmGrid *> TcData::gridFrames() const
{
    return m_frames;
}

TfrmGrid *TcData::activeFrame() const
{
    return m_frames.value(ActiveGridIndex, frmMain);
}

int TcData::GridIndexOf(const data::Dataset *dataset) const
{
    for (int i = 0; i < m_frames.size(); ++i) {
        if (m_frames[i]->dataset() == dataset)
            return i;
    }
    return -1;
}

void TcData::setActiveFrame(TfrmGrid *frame)
{
    const int index = int(m_frames.indexOf(frame));
    if (index < 0)
        return;
    ActiveGridIndex = index;
    if (data::Dataset *d = frame->dataset()) {
        disconnect(d, &data::Dataset::currentChanged, this, nullptr);
        connect(d, &data::Dataset::currentChanged, this, &TcData::updateActions, Qt::UniqueConnection);
        connect(d, &data::Dataset::stateChanged, this, &TcData::updateActions, Qt::UniqueConnection);
        connect(d, &data::Dataset::reset, this, &TcData::updateActions, Qt::UniqueConnection);
    }
    updateActions();
}

void TcData::setContextMenuFrame(TfrmGrid *frame)
{
    Q_UNUSED(frame); // every frame shows the window's pmBrowse
}

void TcData::updateActions()
{
    const TfrmGrid *frame = activeFrame();
    const data::Dataset *d = frame ? frame->dataset() : nullptr;
    const bool open = d && d->active();
    const bool browsing = open && !d->isEditing();
    const int row = open ? d->recNo() : 0;
    const int count = open ? d->recordCount() : 0;
    aFirst->setEnabled(browsing && row > 1);
    aPrior->setEnabled(browsing && row > 1);
    aNext->setEnabled(browsing && row < count);
    aLast->setEnabled(browsing && row < count);
    const bool dialog = frame && frame->EditDialog;
    aInsert->setEnabled(browsing && dialog);
    aEdit->setEnabled(browsing && dialog);
    aDelete->setEnabled(browsing && count > 0);
    aRefresh->setEnabled(open);
    aPrekidStampe->setEnabled(printer().printerState() == QPrinter::Active);
}

QString TcData::KeyFieldName() const
{
    return frmMain->dataset() ? frmMain->dataset()->indexFieldNames() : QString();
}

void TcData::LookUpOff(data::Dataset *dataset)
{
    Q_UNUSED(dataset); // the datasets have no lookup fields of their own: frames open their lists
}

QString TcData::layoutFile(const TfrmGrid *frame) const
{
    return LayoutFolder + objectName() + u'_' + frame->objectName();
}

QPrinter &TcData::printer()
{
    static QPrinter printer;
    return printer;
}

void TcData::FormCreate()
{
    TcMain::FormCreate();
    if (frmMain->dataset())
        frmMain->dataset()->setFiltered(false);
    for (TfrmGrid *frame : std::as_const(m_frames)) {
        if (frame->dataset() && frame->dataset()->active())
            frame->dataset()->close();
    }
}

void TcData::FormShow()
{
    TcMain::FormShow();
    LayoutFolder = Globals.ProgramFolder + QStringLiteral("Tabele/");
    data::Dataset *main = frmMain->dataset();
    if (LookupMode && main && main->active()) {
        if (!Globals.LastKey.isValid() || Globals.LastKey.isNull()) {
            main->first();
        } else {
            if (LookupLocateField.isEmpty())
                LookupLocateField = KeyFieldName();
            main->locate(LookupLocateField, {Globals.LastKey}, data::loCaseInsensitive | data::loPartialKey);
        }
    }
    SavedIndexFields = KeyFieldName();
    InitialSortField = KeyFieldName();
    const QList<GridColumn> &columns = frmMain->model()->columns();
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].fieldName == InitialSortField) {
            frmMain->dbGridTitleClick(i);
            break;
        }
    }
    for (TfrmGrid *frame : std::as_const(m_frames))
        loadLayout(frame);
    frmMain->aIskljuciPretragu->trigger();
    frmMain->dbGrid->setFocus();
    setActiveFrame(frmMain);
}

void TcData::FormClose()
{
    TcMain::FormClose();
    if (!LookupMode) {
        for (TfrmGrid *frame : std::as_const(m_frames)) {
            LookUpOff(frame->dataset());
            delete frame->EditDialog;
            frame->EditDialog = nullptr;
            if (frame->dataset())
                frame->dataset()->close();
            if (QDir().mkpath(LayoutFolder))
                saveLayout(frame);
        }
        return;
    }
    data::Dataset *main = frmMain->dataset();
    if (!main || !main->active()) {
        Globals.LastKey = QVariant();
        return;
    }
    const data::Bookmark mark = main->bookmark();
    main->setIndexFieldNames(SavedIndexFields);
    main->gotoBookmark(mark);
    const data::Field *key = main->findField(SavedIndexFields);
    Globals.LastKey = main->isEmpty() || !key ? QVariant() : key->value();
    main->setFiltered(false);
    main->setFilter(QString());
}

bool TcData::FormKeyPress(QKeyEvent *event)
{
    if (TcMain::FormKeyPress(event))
        return true;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && qobject_cast<QTableView *>(keyTarget())) {
        if (LookupMode)
            aExit->trigger();
        else
            aEdit->trigger();
        return true;
    }
    return false;
}

void TcData::aExitExecute()
{
    close();
}

void TcData::aInsertExecute()
{
    TfrmGrid *frame = activeFrame();
    if (!frame || !frame->dataset() || !frame->EditDialog)
        return;
    if (frame->EditDialog->isVisible())
        frame->EditDialog->close();
    frame->dataset()->setSort(QString());
    frame->setPanelText(3, frame->dataset()->sort());
    frame->dataset()->append();
    frame->EditDialog->exec();
    frame->UpdateRecordCounter();
    emit frame->gridKeyUp();
}

void TcData::aEditExecute()
{
    TfrmGrid *frame = activeFrame();
    if (!frame || !frame->dataset() || !frame->EditDialog)
        return;
    if (frame->EditDialog->isVisible())
        frame->EditDialog->close();
    frame->dataset()->edit();
    frame->EditDialog->exec();
}

void TcData::aDeleteExecute()
{
    TfrmGrid *frame = activeFrame();
    if (!frame || !frame->GridFocused || !frame->dataset() || frame->dataset()->isEmpty())
        return;
    if (MessageDialog(QStringLiteral("Obrisati podatak !!! "), mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    data::Dataset *d = frame->dataset();
    const QString table = d->columnInfo(0).baseTable;
    const QString saved = d->uniqueTable();
    d->setUniqueTable(table);
    try {
        d->deleteRecord();
    } catch (...) {
        d->setUniqueTable(saved);
        throw;
    }
    d->setUniqueTable(saved);
    frame->UpdateRecordCounter();
}

void TcData::aRefreshExecute()
{
    if (!frmMain->isAncestorOf(QApplication::focusWidget()))
        frmMain->dbGrid->setFocus();
    TfrmGrid *frame = activeFrame();
    if (!frame || !frame->dataset())
        return;
    const WaitCursor wait;
    data::Dataset *d = frame->dataset();
    const data::Bookmark mark = d->bookmark();
    d->close();
    d->open();
    if (!d->isEmpty())
        d->gotoBookmark(mark);
    frame->UpdateRecordCounter();
}

void TcData::aHelpExecute()
{
    HelpViewer::showTopic(QStringLiteral("Katalozi"), this);
}

void TcData::aKalExecute()
{
    for (const char *program : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return;
    }
    MessageDialog(QStringLiteral("Na računaru nije pronađen kalkulator (gnome-calculator, kcalc, galculator, xcalc)."), mtInformation, mbOK);
}

void TcData::aPrinterSetupExecute()
{
    QPageSetupDialog dialog(&printer(), this);
    dialog.exec();
}

void TcData::aPrekidStampeExecute()
{
    if (printer().printerState() != QPrinter::Active)
        return;
    printer().abort();
    MessageDialog(QStringLiteral("Štampa prekinuta"), mtInformation, mbOK);
}

void TcData::aPostaviFilterExecute()
{
    TfrmGrid *frame = activeFrame();
    if (frame && frame->Panel1->isVisible()) {
        frame->FilterMode = true;
        frame->FilterPairs = {frame->SearchField, frame->edPretraga->text()};
        frame->SearchText = frame->edPretraga->text();
        frame->BuildFilter(frame->SearchField, frame->edPretraga->text(), false);
        frame->aPostaviFilterExecute();
        frame->aPostaviFilter->trigger();
    }
    m_filterButton->setProperty("action", QVariant::fromValue(aSkiniFilter));
    m_filterButton->setText(aSkiniFilter->text());
}

void TcData::aSkiniFilterExecute()
{
    if (TfrmGrid *frame = activeFrame())
        frame->aSkiniFilter->trigger();
    m_filterButton->setProperty("action", QVariant::fromValue(aPostaviFilter));
    m_filterButton->setText(aPostaviFilter->text());
}

void TcData::aExcelDataExecute()
{
    if (TfrmGrid *frame = activeFrame())
        frame->aExcel->trigger();
}

void TcData::saveLayout(const TfrmGrid *frame) const
{
    QFile file(layoutFile(frame));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QTextStream out(&file);
    out << kLayoutMagic << '\n';
    const QHeaderView *header = frame->dbGrid->horizontalHeader();
    const QList<GridColumn> &columns = frame->model()->columns();
    for (int i = 0; i < columns.size(); ++i) {
        out << columns[i].fieldName << '\t' << frame->model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString() << '\t'
            << frame->dbGrid->columnWidth(i) << '\t' << header->visualIndex(i) << '\t' << (frame->dbGrid->isColumnHidden(i) ? 1 : 0)
            << '\n';
    }
}

void TcData::loadLayout(TfrmGrid *frame) const
{
    QFile file(layoutFile(frame));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QTextStream in(&file);
    if (in.readLine() != QLatin1String(kLayoutMagic))
        return; // an old or foreign file is ignored
    QList<GridColumn> columns = frame->model()->columns();
    QList<QStringList> rows;
    while (!in.atEnd()) {
        const QStringList parts = in.readLine().split(u'\t');
        if (parts.size() != 5)
            return;
        rows << parts;
    }
    if (rows.size() != columns.size())
        return;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i][0] != columns[i].fieldName)
            return; // the window's columns changed since
    }
    for (int i = 0; i < rows.size(); ++i) {
        columns[i].title = rows[i][1];
        columns[i].width = rows[i][2].toInt();
    }
    frame->model()->setColumns(columns);
    QHeaderView *header = frame->dbGrid->horizontalHeader();
    for (int i = 0; i < rows.size(); ++i) {
        frame->dbGrid->setColumnWidth(i, rows[i][2].toInt());
        frame->dbGrid->setColumnHidden(i, rows[i][4] == QLatin1String("1"));
    }
    for (int visual = 0; visual < rows.size(); ++visual) {
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i][3].toInt() == visual)
                header->moveSection(header->visualIndex(i), visual);
        }
    }
}

} // namespace velmora
