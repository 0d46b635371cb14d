#include "TfrmGrid.h"

#include "ExportGridToExcel.h"
#include "TcData.h"
#include "platform/dataset/Dataset.h"
#include "platform/dataset/DatasetError.h"
#include "platform/db/Dialect.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora {
namespace {

// The cell colours: the found row in light blue, the selected row silver while
// the grid does not have the focus.
class CellColours : public QStyledItemDelegate {
public:
    explicit CellColours(TfrmGrid *frame)
        : QStyledItemDelegate(frame)
        , m_frame(frame)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem o = option;
        const bool selectedRow = index.row() == m_frame->dbGrid->currentIndex().row();
        QColor background;
        if (m_frame->Found) {
            if (selectedRow)
                background = QColor(146, 182, 250);
            else if (m_frame->edPretraga->hasFocus())
                background = Qt::white;
        } else if (selectedRow && !m_frame->dbGrid->hasFocus()) {
            background = QColor(192, 192, 192);
        }
        if (background.isValid()) {
            painter->fillRect(option.rect, background);
            o.state &= ~QStyle::State_Selected;
            o.backgroundBrush = background;
        }
        QStyledItemDelegate::paint(painter, o, index);
    }

private:
    TfrmGrid *m_frame;
};

bool isTextField(const data::Field *field)
{
    return field && (field->dataType() == data::FieldType::String || field->dataType() == data::FieldType::WideString);
}

QString filterName(const QString &name)
{
    return db::dialect::isPlainName(name) ? name : u'[' + name + u']';
}

} // namespace

TfrmGrid::TfrmGrid(TcData *owner, const QString &name)
    : QWidget(owner)
    , m_owner(owner)
    , m_model(new DatasetModel(this))
{
    setObjectName(name);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(25);
    auto *bar = new QHBoxLayout(Panel1);
    bar->setContentsMargins(8, 1, 4, 1);
    bar->setSpacing(2);
    TntLabel1 = new QLabel(Panel1);
    TntLabel1->setObjectName(QStringLiteral("TntLabel1"));
    edPretraga = new QLineEdit(Panel1);
    edPretraga->setObjectName(QStringLiteral("edPretraga"));
    edPretraga->setMinimumWidth(180);
    cbPretPoDeluReci = new QCheckBox(QStringLiteral("Pretraga i filtriranje po delu reči"), Panel1);
    cbPretPoDeluReci->setObjectName(QStringLiteral("cbPretPoDeluReci"));
    Button1 = new QPushButton(QStringLiteral("Isključi pretragu"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    bar->addWidget(TntLabel1);
    bar->addWidget(edPretraga);
    bar->addSpacing(8);
    bar->addWidget(cbPretPoDeluReci);
    bar->addWidget(Button1);
    bar->addStretch(1);
    layout->addWidget(Panel1);
    Panel1->hide();

    dbGrid = new QTableView(this);
    dbGrid->setObjectName(QStringLiteral("dbGrid"));
    dbGrid->setModel(m_model);
    dbGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    dbGrid->setItemDelegate(new CellColours(this));
    dbGrid->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    dbGrid->verticalHeader()->setFixedWidth(16);
    dbGrid->horizontalHeader()->setSectionsClickable(true);
    dbGrid->horizontalHeader()->setHighlightSections(false);
    dbGrid->installEventFilter(this);
    dbGrid->viewport()->installEventFilter(this);
    dbGrid->horizontalHeader()->viewport()->installEventFilter(this);
    dbGrid->horizontalHeader()->viewport()->setMouseTracking(true);
    layout->addWidget(dbGrid, 1);

    sbGrid = new QStatusBar(this);
    sbGrid->setObjectName(QStringLiteral("sbGrid"));
    sbGrid->setFixedHeight(19);
    sbGrid->setSizeGripEnabled(false);
    // Five panels of equal width (the frame's width divided among them).
    for (int i = 0; i < 5; ++i) {
        auto *panel = new QLabel(sbGrid);
        panel->setMinimumWidth(20);
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        if (i == 1)
            panel->setAlignment(Qt::AlignCenter);
        if (i != 1 && i != 3)
            panel->setFrameShape(QFrame::StyledPanel);
        sbGrid->addWidget(panel, 1);
        m_panels.append(panel);
    }
    layout->addWidget(sbGrid);

    const auto action = [this](const QString &name, const QString &caption, const QKeySequence &key) {
        auto *a = new QAction(caption, this);
        a->setObjectName(name);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
        return a;
    };
    aPostaviFilter = action(QStringLiteral("aPostaviFilter"), QStringLiteral("aPostaviFilter"), Qt::Key_F12);
    aSkiniFilter = action(QStringLiteral("aSkiniFilter"), QStringLiteral("aSkiniFilter"), Qt::Key_F11);
    aExcel = action(QStringLiteral("aExcel"), QStringLiteral("Prebaci u Excel"), QKeySequence());
    aIskljuciPretragu = action(QStringLiteral("aIskljuciPretragu"), QStringLiteral("Isključi pretragu"), Qt::CTRL | Qt::Key_F1);
    connect(aPostaviFilter, &QAction::triggered, this, &TfrmGrid::aPostaviFilterExecute);
    connect(aSkiniFilter, &QAction::triggered, this, &TfrmGrid::aSkiniFilterExecute);
    connect(aExcel, &QAction::triggered, this, &TfrmGrid::aExcelExecute);
    connect(aIskljuciPretragu, &QAction::triggered, this, &TfrmGrid::aIskljuciPretraguExecute);
    connect(Button1, &QPushButton::clicked, aIskljuciPretragu, &QAction::trigger);

    connect(dbGrid->horizontalHeader(), &QHeaderView::sectionClicked, this, &TfrmGrid::dbGridTitleClick);
    connect(dbGrid, &QTableView::doubleClicked, this, &TfrmGrid::dbGridDblClick);
    connect(edPretraga, &QLineEdit::textEdited, this, &TfrmGrid::edPretragaChange);
    connect(cbPretPoDeluReci, &QCheckBox::clicked, this, &TfrmGrid::cbPretPoDeluReciClick);
    connect(qApp, &QApplication::focusChanged, this, &TfrmGrid::focusChanged);
}

TfrmGrid::~TfrmGrid() = default;

void TfrmGrid::setDataset(data::Dataset *dataset, const QList<GridColumn> &columns)
{
    if (m_model->dataset())
        disconnect(m_model->dataset(), nullptr, this, nullptr);
    m_model->setDataset(dataset);
    m_model->setColumns(columns);
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].width > 0)
            dbGrid->setColumnWidth(i, columns[i].width);
    }
    connect(dataset, &data::Dataset::currentChanged, this, &TfrmGrid::syncCurrentFromDataset);
    connect(dataset, &data::Dataset::reset, this, &TfrmGrid::syncCurrentFromDataset);
    connect(dbGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (m_syncing || !this->dataset() || !current.isValid() || current.row() == this->dataset()->currentPosition())
            return;
        this->dataset()->moveTo(current.row());
    });
}

data::Dataset *TfrmGrid::dataset() const
{
    return m_model->dataset();
}

void TfrmGrid::syncCurrentFromDataset()
{
    data::Dataset *d = dataset();
    if (!d)
        return;
    m_syncing = true;
    const int row = d->currentPosition();
    if (row >= 0 && row < m_model->rowCount()) {
        const int column = std::max(0, dbGrid->currentIndex().column());
        dbGrid->setCurrentIndex(m_model->index(row, column));
        dbGrid->scrollTo(m_model->index(row, column));
    }
    dbGrid->verticalHeader()->viewport()->update();
    m_syncing = false;
}

QString TfrmGrid::panelText(int index) const
{
    return m_panels.value(index) ? m_panels[index]->text() : QString();
}

void TfrmGrid::setPanelText(int index, const QString &text)
{
    if (QLabel *panel = m_panels.value(index))
        panel->setText(text);
}

void TfrmGrid::UpdateRecordCounter()
{
    data::Dataset *d = dataset();
    if (!d)
        return;
    setPanelText(1, QStringLiteral("Slog: %1 od %2").arg(d->recNo()).arg(d->recordCount()));
    sbGrid->repaint();
}

void TfrmGrid::SetIsLocateBar(int column, const QString &text)
{
    setPanelText(2, QStringLiteral("Polje: ") + m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()
                        + QStringLiteral("= ") + text);
}

void TfrmGrid::FrameEnter()
{
    ShiftHeld = false;
    SortList.clear();
    FilterText.clear();
    if (dataset() && dataset()->active()) {
        UpdateRecordCounter();
        m_owner->ActiveGridIndex = m_owner->GridIndexOf(dataset());
        m_owner->setContextMenuFrame(this);
    }
}

void TfrmGrid::focusChanged(QWidget *old, QWidget *now)
{
    const bool wasInside = old && isAncestorOf(old);
    const bool isInside = now && isAncestorOf(now);
    if (isInside && !wasInside)
        FrameEnter();
    if (now == dbGrid) {
        Found = false;
        GridFocused = true;
        m_owner->setActiveFrame(this);
        dbGrid->viewport()->update();
    } else if (old == dbGrid) {
        GridFocused = false;
        dbGrid->viewport()->update();
    }
    // While the search box has the focus, Delete edits its text.
    if (now == edPretraga)
        m_owner->aDelete->setShortcut(QKeySequence());
    else if (old == edPretraga)
        m_owner->aDelete->setShortcut(Qt::Key_Delete);
}

data::Field *TfrmGrid::fieldOfColumn(int column) const
{
    data::Dataset *d = dataset();
    return d ? d->findField(m_model->columns().value(column).fieldName) : nullptr;
}

bool TfrmGrid::isFilterable(const data::Field *field)
{
    if (!field)
        return false;
    switch (field->dataType()) {
    case data::FieldType::String:
    case data::FieldType::WideString:
    case data::FieldType::SmallInt:
    case data::FieldType::Integer:
    case data::FieldType::Word:
    case data::FieldType::BCD:
    case data::FieldType::Float:
        return true;
    default:
        return false;
    }
}

void TfrmGrid::applyTitleStyle(int column, const QColor &color, bool bold)
{
    m_model->setTitleStyle(column, color, bold);
}

void TfrmGrid::resetTitleStyles()
{
    m_model->clearTitleStyles();
}

void TfrmGrid::placeSearchBar()
{
    Panel1->show();
    edPretraga->setFocus();
}

void TfrmGrid::dbGridTitleClick(int column)
{
    data::Dataset *d = dataset();
    if (!d || !d->active() || !dbGrid->hasFocus())
        return;
    data::Field *field = fieldOfColumn(column);
    if (!field || field->fieldKind() != data::FieldKind::Data) {
        QMessageBox::warning(this, QApplication::applicationName(), QStringLiteral("Po ovom polju se ne može vršiti pretraga !"));
        SearchActive = false;
        return;
    }
    const QString name = field->fieldName();
    const data::Bookmark mark = d->bookmark();
    if (ShiftHeld) {
        if (!SortList.isEmpty()) {
            QString sort;
            bool found = false;
            for (qsizetype i = 0; i + 1 < SortList.size(); i += 2) {
                if (SortList[i] == name) {
                    found = true;
                    SortList[i + 1] = SortList[i + 1] == QLatin1String(" DESC") ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
                }
                const QString next = sort.isEmpty() ? SortList[i] + SortList[i + 1] : sort + QStringLiteral(", ") + SortList[i] + SortList[i + 1];
                try {
                    d->setSort(next);
                    sort = next;
                } catch (const data::DatasetError &) {
                }
            }
            if (!found) {
                SortList << name << QStringLiteral(" ASC");
                try {
                    d->setSort(sort + QStringLiteral(", ") + name + QStringLiteral(" ASC"));
                } catch (const data::DatasetError &) {
                }
            }
            setPanelText(3, QStringLiteral("Sort: ") + d->sort());
        }
    } else {
        SortList.clear();
        SortField = name;
        const bool descending = d->sort() == name + QStringLiteral(" ASC");
        const QString direction = descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
        try {
            d->setSort(name + direction);
            SortList << name << direction;
        } catch (const data::DatasetError &) {
        }
        setPanelText(3, QStringLiteral("Sort: ") + d->sort());
    }
    d->gotoBookmark(mark);

    TntLabel1->setText(m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    if (FilterMode) {
        if (isFilterable(field)) {
            QString previous;
            BuildFilter(name, QString(), true, &previous);
            edPretraga->setText(previous);
        } else {
            QMessageBox::warning(this, QStringLiteral("Filter"), QStringLiteral("Na ovom polju se ne može postaviti filter"));
            edPretraga->clear();
        }
    }
    SearchActive = true;
    SearchColumn = column;
    SearchField = name;
    SearchText.clear();
    setPanelText(2, QStringLiteral("Polje: ") + TntLabel1->text() + QStringLiteral("= "));

    if (!ShiftHeld && !FilterMode) {
        resetTitleStyles();
        applyTitleStyle(column, QColor(255, 0, 0), true);
        placeSearchBar();
    } else if (FilterMode) {
        if (isFilterable(field)) {
            applyTitleStyle(column, ShiftHeld ? QColor(0, 128, 0) : QColor(0, 0, 0), true);
            placeSearchBar();
        }
    } else if (name != SortField && !SortList.isEmpty()) {
        applyTitleStyle(column, QColor(255, 255, 0), true);
        placeSearchBar();
    }
}

bool TfrmGrid::BuildFilter(const QString &field, const QString &newValue, bool lookupOnly, QString *previous)
{
    Found = false;
    FilterText.clear();
    bool had = false;
    for (qsizetype i = 0; i + 1 < FilterPairs.size(); i += 2) {
        if (FilterPairs[i] == field) {
            had = true;
            if (previous)
                *previous = FilterPairs[i + 1];
            if (!lookupOnly)
                FilterPairs[i + 1] = newValue;
        }
    }
    if (!had)
        FilterPairs << field << newValue;
    Found = had;

    QStringList parts;
    for (qsizetype i = 0; i + 1 < FilterPairs.size(); i += 2) {
        const QString &value = FilterPairs[i + 1];
        if (value.isEmpty())
            continue;
        const data::Field *f = dataset() ? dataset()->findField(FilterPairs[i]) : nullptr;
        const QString name = filterName(FilterPairs[i]);
        if (isTextField(f)) {
            // A typed apostrophe is a letter of the value, never the end of it.
            QString escaped = value;
            escaped.replace(u'\'', QStringLiteral("''"));
            parts << name + QStringLiteral(" LIKE '") + (cbPretPoDeluReci->isChecked() ? QStringLiteral("%") : QString()) + escaped
                         + QStringLiteral("%'");
        } else if (isFilterable(f)) {
            bool number = false;
            QString(value).replace(u',', u'.').toDouble(&number);
            // A value that is no number matches nothing, and is never filter syntax.
            parts << (number ? name + u'=' + QString(value).replace(u',', u'.') : name + QStringLiteral(" IS NULL AND ") + name + QStringLiteral(" IS NOT NULL"));
        }
    }
    FilterText = parts.join(QStringLiteral(" AND "));
    return had;
}

void TfrmGrid::aPostaviFilterExecute()
{
    data::Dataset *d = dataset();
    if (!d || !d->active() || !SearchActive)
        return;
    const auto apply = [&] {
        d->setFilter(FilterText);
        d->setFiltered(true);
        setPanelText(4, FilterText);
        d->first();
    };
    if (!SearchText.isEmpty()) {
        if (isFilterable(d->findField(SearchField)))
            apply();
    } else if (!FilterText.isEmpty()) {
        apply();
    } else {
        d->setFiltered(false);
        d->setFilter(QString());
        setPanelText(4, QString());
    }
    UpdateRecordCounter();
}

void TfrmGrid::aSkiniFilterExecute()
{
    if (dataset() && dataset()->active())
        dataset()->setFiltered(false);
    FilterText.clear();
    setPanelText(4, QString());
    FilterMode = false;
    UpdateRecordCounter();
}

void TfrmGrid::aIskljuciPretraguExecute()
{
    Panel1->hide();
}

void TfrmGrid::aExcelExecute()
{
    ExportGridToExcel(this);
}

void TfrmGrid::edPretragaChange()
{
    data::Dataset *d = dataset();
    if (!d || !d->active()) {
        QMessageBox::warning(this, QApplication::applicationName(), QStringLiteral("Tabela nije aktivna za pretraživanje !"));
        return;
    }
    const QString text = edPretraga->text();
    if (FilterMode) {
        SearchText = text;
        if (isFilterable(d->findField(SearchField)))
            BuildFilter(SearchField, text, false);
        aPostaviFilterExecute();
        return;
    }
    if (!SearchActive)
        return;
    SearchText = cbPretPoDeluReci->isChecked() && !text.isEmpty() ? u'%' + text : text;
    const data::Field *field = d->findField(SearchField);
    Found = !SearchText.isEmpty()
            && d->locate(SearchField, {SearchText}, isTextField(field) ? (data::loCaseInsensitive | data::loPartialKey) : 0);
    SetIsLocateBar(SearchColumn, text);
    UpdateRecordCounter();
    dbGrid->viewport()->update();
}

void TfrmGrid::cbPretPoDeluReciClick()
{
    if (!dataset() || !dataset()->active() || !SearchActive)
        return;
    if (FilterMode) {
        SearchText = edPretraga->text();
        BuildFilter(SearchField, edPretraga->text(), false);
        aPostaviFilter->trigger();
        return;
    }
    edPretragaChange();
}

void TfrmGrid::dbGridDblClick()
{
    if (m_owner->LookupMode)
        m_owner->aExit->trigger();
    else
        m_owner->aEdit->trigger();
}

bool TfrmGrid::eventFilter(QObject *watched, QEvent *event)
{
    const bool header = watched == dbGrid->horizontalHeader()->viewport();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        ShiftHeld = static_cast<QMouseEvent *>(event)->modifiers() & Qt::ShiftModifier;
        if (header && !dbGrid->hasFocus())
            dbGrid->setFocus(Qt::MouseFocusReason); // a title click reaches the grid first
        break;
    }
    case QEvent::MouseMove:
        if (header)
            dbGrid->horizontalHeader()->viewport()->setCursor(Qt::PointingHandCursor);
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->modifiers() & Qt::ShiftModifier)
            ShiftHeld = true;
        break;
    case QEvent::KeyRelease:
        if (watched == dbGrid) {
            UpdateRecordCounter();
            emit gridKeyUp();
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == dbGrid->viewport()) {
            UpdateRecordCounter();
            emit gridMouseUp();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velmora
