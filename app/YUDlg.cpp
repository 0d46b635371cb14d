#include "YUDlg.h"

#include "HelpViewer.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <array>

namespace velmora {
namespace {

struct ButtonInfo {
    MsgDlgBtn bit;
    const char *programCaption;
    const char *plainCaption;
    int result;
};

// The fixed order of the buttons, left to right.
constexpr std::array<ButtonInfo, 11> kButtons = {{
    {mbYes, "&Da", "&Da", mrYes},
    {mbNo, "&Ne", "&Ne", mrNo},
    {mbOK, "&U Redu", "U redu", mrOk},
    {mbCancel, "&Odustani", "Odustani", mrCancel},
    {mbAbort, "Pre&kini", "&Prekid", mrAbort},
    {mbRetry, "Pono&vi", "&Ponovi", mrRetry},
    {mbIgnore, "&Ignoriši", "&Ignorisi", mrIgnore},
    {mbAll, "Uve&k", "&All", mrAll},
    {mbNoToAll, "Uvek N&e", "N&o to All", mrNoToAll},
    {mbYesToAll, "Uvek D&a", "Yes to &All", mrYesToAll},
    {mbHelp, "&Pomoć", "&Help", mrNone},
}};

QString typeCaption(MsgDlgType type, CaptionSet captions)
{
    const bool plain = captions == CaptionSet::Plain;
    switch (type) {
    case mtWarning: return QStringLiteral("Upozorenje");
    case mtError: return plain ? QStringLiteral("Greska") : QStringLiteral("Greška");
    case mtInformation: return plain ? QStringLiteral("Informacije") : QStringLiteral("Obaveštenje");
    case mtConfirmation: return plain ? QStringLiteral("Potvrdi") : QStringLiteral("Pitanje");
    case mtCustom: break;
    }
    return QApplication::applicationName();
}

QStyle::StandardPixmap typeIcon(MsgDlgType type)
{
    switch (type) {
    case mtWarning: return QStyle::SP_MessageBoxWarning;
    case mtError: return QStyle::SP_MessageBoxCritical;
    case mtInformation: return QStyle::SP_MessageBoxInformation;
    case mtConfirmation: return QStyle::SP_MessageBoxQuestion;
    case mtCustom: break;
    }
    return QStyle::SP_CustomBase;
}

int mulDiv(int number, int numerator, int denominator)
{
    return qRound(double(number) * numerator / denominator);
}

// Line breaks come as carriage returns, as the messages are built.
QString displayText(const QString &text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

QString withoutAccelerator(QString caption)
{
    return caption.remove(u'&');
}

} // namespace

TMessageForm::TMessageForm(const QString &text, MsgDlgType type, MsgDlgButtons buttonSet, int helpContext,
                           CaptionSet captions, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
    , m_captions(captions)
    , m_helpContext(helpContext)
{
    setObjectName(QStringLiteral("MessageForm"));
    setWindowTitle(typeCaption(type, captions));
    setFont(QApplication::font("QMessageBox"));

    const QFontMetrics fm(font());
    const int x = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
    const int y = fm.height();
    const int horzMargin = mulDiv(8, x, 4);
    const int vertMargin = mulDiv(8, y, 8);
    const int horzSpacing = mulDiv(10, x, 4);
    const int vertSpacing = mulDiv(10, y, 8);
    const int buttonHeight = mulDiv(14, y, 8);
    const int buttonSpacing = mulDiv(4, x, 4);
    int buttonWidth = mulDiv(50, x, 4);

    QList<const ButtonInfo *> shown;
    for (const ButtonInfo &info : kButtons) {
        if (buttonSet & info.bit) {
            shown.append(&info);
            const QString caption = QString::fromUtf8(captions == CaptionSet::Plain ? info.plainCaption : info.programCaption);
            buttonWidth = std::max(buttonWidth, fm.horizontalAdvance(withoutAccelerator(caption)) + 8);
        }
    }

    const QString shownText = displayText(text);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1024;
    const QRect textRect = fm.boundingRect(QRect(0, 0, screenWidth / 2, 0),
                                           Qt::AlignLeft | Qt::TextWordWrap | Qt::TextExpandTabs, shownText);
    const bool hasIcon = type != mtCustom;
    const int iconTextWidth = hasIcon ? textRect.width() + horzSpacing + 32 : textRect.width();
    const int iconTextHeight = hasIcon ? std::max(textRect.height(), 32) : textRect.height();
    const int n = int(shown.size());
    const int buttonGroupWidth = n > 0 ? n * buttonWidth + (n - 1) * buttonSpacing : 0;
    const int clientWidth = std::max(iconTextWidth, buttonGroupWidth) + 2 * horzMargin;
    const int clientHeight = iconTextHeight + buttonHeight + vertSpacing + 2 * vertMargin;
    setFixedSize(clientWidth, clientHeight);

    if (hasIcon) {
        auto *image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image"));
        image->setPixmap(style()->standardIcon(typeIcon(type), nullptr, this).pixmap(32, 32));
        image->setGeometry(horzMargin, vertMargin, 32, 32);
    }
    m_message = new QLabel(shownText, this);
    m_message->setObjectName(QStringLiteral("Message"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    int textLeft = horzMargin + (hasIcon ? 32 + horzSpacing : 0);
    if (layoutDirection() == Qt::RightToLeft)
        textLeft = clientWidth - textLeft - textRect.width();
    m_message->setGeometry(textLeft, vertMargin, textRect.width(), textRect.height());

    int left = (clientWidth - buttonGroupWidth) / 2;
    const int top = iconTextHeight + vertMargin + vertSpacing;
    for (const ButtonInfo *info : shown) {
        const QString caption = QString::fromUtf8(captions == CaptionSet::Plain ? info->plainCaption : info->programCaption);
        auto *button = new QPushButton(caption, this);
        button->setGeometry(left, top, buttonWidth, buttonHeight);
        left += buttonWidth + buttonSpacing;
        m_buttons.append(button);
        if (info->bit == mbHelp) {
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this] { HelpViewer::showContext(m_helpContext, this); });
        } else {
            const int result = info->result;
            connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        }
    }

    auto buttonFor = [&](MsgDlgBtn bit) -> QPushButton * {
        for (qsizetype i = 0; i < shown.size(); ++i) {
            if (shown[i]->bit == bit)
                return m_buttons[i];
        }
        return nullptr;
    };
    m_default = buttonFor(mbOK);
    if (!m_default)
        m_default = buttonFor(mbYes);
    if (!m_default)
        m_default = buttonFor(mbRetry);
    m_cancel = buttonFor(mbCancel);
    if (!m_cancel)
        m_cancel = buttonFor(mbNo);
    if (!m_cancel)
        m_cancel = buttonFor(mbOK);
    if (m_default) {
        m_default->setDefault(true);
        m_default->setFocus();
    }

    if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(clientWidth / 2, clientHeight / 2));
    }
}

QString TMessageForm::messageText() const
{
    return m_message->text();
}

void TMessageForm::reject()
{
    done(mrCancel);
}

void TMessageForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_cancel)
            m_cancel->click();
        return;
    }
    if (m_captions == CaptionSet::Plain && event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(clipboardText());
        return;
    }
    QDialog::keyPressEvent(event);
}

QString TMessageForm::clipboardText() const
{
    const QString rule = QStringLiteral("---------------------------\n");
    QString buttonLine;
    for (const QPushButton *button : m_buttons)
        buttonLine += withoutAccelerator(button->text()) + QStringLiteral("   ");
    return rule + windowTitle() + u'\n' + rule + messageText() + u'\n' + rule + buttonLine + u'\n' + rule;
}

int MessageDialog(const QString &text, MsgDlgType type, MsgDlgButtons buttons, int helpContext)
{
    TMessageForm form(text, type, buttons, helpContext, CaptionSet::Program, QApplication::activeWindow());
    return form.exec();
}

int PlainMessageDialog(const QString &text, MsgDlgType type, MsgDlgButtons buttons, int helpContext)
{
    TMessageForm form(text, type, buttons, helpContext, CaptionSet::Plain, QApplication::activeWindow());
    return form.exec();
}

void PlainInformationBox(const QString &text)
{
    PlainMessageDialog(text, mtCustom, mbOK);
}

QString InputBox(const QString &caption, const QString &prompt, const QString &defaultValue)
{
    QDialog dialog(QApplication::activeWindow(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowTitle(caption);
    auto *layout = new QVBoxLayout(&dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *label = new QLabel(prompt, &dialog);
    auto *edit = new QLineEdit(defaultValue, &dialog);
    edit->setMinimumWidth(280);
    label->setBuddy(edit);
    auto *buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("U redu"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Odustani"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    edit->selectAll();
    return dialog.exec() == QDialog::Accepted ? edit->text() : defaultValue;
}

void PlatformMessageBox(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Warning, caption, displayText(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

} // namespace velmora
