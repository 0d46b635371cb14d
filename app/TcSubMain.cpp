#include "TcSubMain.h"

#include "HelpViewer.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

namespace velmora {

TcSubMain::TcSubMain(QWidget *parent)
    : TcMain(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_client = new QVBoxLayout;
    layout->addLayout(m_client, 1);

    sbSubMain = new QStatusBar(this);
    sbSubMain->setObjectName(QStringLiteral("sbSubMain"));
    sbSubMain->setSizeGripEnabled(false);
    for (const int width : {110, 200, 220, 50}) {
        auto *panel = new QLabel(sbSubMain);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(width);
        sbSubMain->addWidget(panel);
        m_panels.append(panel);
    }
    layout->addWidget(sbSubMain);

    const QStyle::StandardPixmap icons[] = {QStyle::SP_DialogHelpButton, QStyle::SP_DriveHDIcon,
                                            QStyle::SP_FileDialogDetailedView, QStyle::SP_DialogCloseButton};
    for (const auto icon : icons) {
        ilLight.append(QIcon(style()->standardIcon(icon).pixmap(24, 24)));
        ilDark.append(QIcon(style()->standardIcon(icon).pixmap(24, 24, QIcon::Disabled)));
    }

    aHelp = new QAction(QStringLiteral("&Uputstvo"), this);
    aHelp->setObjectName(QStringLiteral("aHelp"));
    aHelp->setToolTip(QStringLiteral("Uputstvo za rad sa programom"));
    aHelp->setStatusTip(aHelp->toolTip());
    aHelp->setShortcut(Qt::Key_F1);
    aHelp->setIcon(ilLight.value(0));
    connect(aHelp, &QAction::triggered, this, [this] { aHelpExecute(); });
    addAction(aHelp);
    alSubMain.append(aHelp);
}

QString TcSubMain::panelText(int index) const
{
    return m_panels.value(index) ? m_panels[index]->text() : QString();
}

void TcSubMain::setPanelText(int index, const QString &text)
{
    if (QLabel *panel = m_panels.value(index))
        panel->setText(text);
}

void TcSubMain::aHelpExecute()
{
    HelpViewer::showTopic(QStringLiteral("Dobro"), this);
}

} // namespace velmora
