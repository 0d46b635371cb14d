#include "TcMain.h"

#include "ErrorHandler.h"
#include "Globalini.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QToolButton>

namespace velmora {
namespace {

int requireInteger(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' nije ispravna celobrojna vrednost").arg(text).toStdString());
    return value;
}

// Controls that take Enter for themselves.
bool keepsEnter(const QWidget *focus)
{
    return qobject_cast<const QAbstractItemView *>(focus) || qobject_cast<const QPlainTextEdit *>(focus)
           || qobject_cast<const QTextEdit *>(focus) || qobject_cast<const QPushButton *>(focus)
           || qobject_cast<const QToolButton *>(focus);
}

bool minimisingProgram = false;

} // namespace

TcMain::TcMain(QWidget *parent)
    : QDialog(parent)
{
    setFont(programFont());
    qApp->installEventFilter(this);
}

TcMain::~TcMain()
{
    qApp->removeEventFilter(this);
}

QFont TcMain::programFont()
{
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                                   {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

void TcMain::FormCreate()
{
}

void TcMain::FormShow()
{
    restoreGeometrySettings();
}

void TcMain::FormClose()
{
    saveGeometrySettings();
}

bool TcMain::FormCloseQuery()
{
    return true;
}

bool TcMain::FormKeyPress(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
            return false;
        if (auto *button = qobject_cast<QPushButton *>(m_keyTarget ? m_keyTarget : QApplication::focusWidget())) {
            button->click(); // a focused push button takes Enter itself
            return true;
        }
        if (keepsEnter(m_keyTarget ? m_keyTarget : QApplication::focusWidget()))
            return false;
        focusNextChild();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

void TcMain::restoreGeometrySettings()
{
    const QString section = objectName();
    // A window never placed before is left where the window manager puts it.
    const QString top = Globalini::ReadIniString(section, QStringLiteral("Gore"), QString());
    if (!top.isEmpty())
        move(x(), requireInteger(top));
    const QString left = Globalini::ReadIniString(section, QStringLiteral("Levo"), QString());
    if (!left.isEmpty())
        move(requireInteger(left), y());
    if (!isEditDialog()) {
        QSize size = this->size();
        const QString width = Globalini::ReadIniString(section, QStringLiteral("Sirina"), QString());
        if (!width.isEmpty())
            size.setWidth(requireInteger(width));
        const QString height = Globalini::ReadIniString(section, QStringLiteral("Visina"), QString());
        if (!height.isEmpty())
            size.setHeight(requireInteger(height));
        resize(size);
    }
    if (Globalini::ReadIniInteger(section, QStringLiteral("Status"), 1) == 1)
        setWindowState(windowState() & ~Qt::WindowMaximized);
    else
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TcMain::saveGeometrySettings()
{
    const QString section = objectName();
    Globalini::WriteIniString(section, QStringLiteral("Gore"), QString::number(y()));
    Globalini::WriteIniString(section, QStringLiteral("Levo"), QString::number(x()));
    Globalini::WriteIniString(section, QStringLiteral("Sirina"), QString::number(width()));
    Globalini::WriteIniString(section, QStringLiteral("Visina"), QString::number(height()));
    Globalini::WriteIniInteger(section, QStringLiteral("Status"), isMaximized() ? 2 : 1);
}

void TcMain::centre()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = m_placement == Placement::DesktopCentre ? screen->availableVirtualGeometry()
                                                                : screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

void TcMain::setVisible(bool visible)
{
    const bool showing = visible && !isVisible();
    const bool centred = m_placement != Placement::Designed;
    if (showing) {
        m_closing = false;
        try {
            FormShow();
        } catch (const std::exception &error) {
            reportError(error, this); // the window is still shown
        }
        if (centred && !isMaximized())
            centre();
    }
    QDialog::setVisible(visible);
    // The layout may give the window its final size only as it is shown.
    if (showing && centred && !isMaximized())
        centre();
}

void TcMain::done(int result)
{
    if (isVisible() && !m_closing) {
        m_closing = true;
        try {
            FormClose();
        } catch (const std::exception &error) {
            reportError(error, this);
        }
    }
    QDialog::done(result);
}

void TcMain::closeEvent(QCloseEvent *event)
{
    bool allowed = false;
    try {
        allowed = FormCloseQuery();
    } catch (const std::exception &error) {
        reportError(error, this);
    }
    if (!allowed) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TcMain::keyPressEvent(QKeyEvent *event)
{
    // Enter that a grid or a memo left alone does not press a default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TcMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        // The focused control, or (before the window has the focus) the one the key was sent to.
        QWidget *focus = QApplication::focusWidget();
        m_keyTarget = focus && focus->window() == this ? focus : static_cast<QWidget *>(watched);
        try {
            return FormKeyPress(static_cast<QKeyEvent *>(event));
        } catch (const std::exception &error) {
            reportError(error, this);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TcMain::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (minimisingProgram)
        return;
    // Minimising any window minimises the whole program; activating one shows it again.
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        minimisingProgram = true;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget != this && widget->isVisible() && qobject_cast<TcMain *>(widget))
                widget->showMinimized();
        }
        minimisingProgram = false;
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        minimisingProgram = true;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->isMinimized() && qobject_cast<TcMain *>(widget))
                widget->showNormal();
        }
        minimisingProgram = false;
    }
}

} // namespace velmora
