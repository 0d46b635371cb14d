#include "TfKatalog.h"

#include "TfDijagnostika.h"
#include "TfGrad.h"
#include "TfGrupaNalaza.h"
#include "TfKlinike.h"
#include "TfKonzilijarni.h"
#include "TfLekar.h"
#include "TfLekovi.h"
#include "TfMKB10.h"
#include "TfNalazi.h"
#include "TfStatus.h"
#include "TfUputna_DG.h"

#include <QAction>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {
namespace {

template <class Window>
void openModal(QWidget *parent)
{
    auto window = createForm<Window>(parent);
    window->exec();
}

} // namespace

TfKatalog::TfKatalog(QWidget *parent)
    : TcSubMain(parent)
{
    setObjectName(QStringLiteral("fKatalog"));
    setWindowTitle(QStringLiteral("Katalozi"));
    resize(420, 560);
    struct Entry {
        const char *name;
        const char *caption;
        void (*open)(QWidget *);
    };
    const Entry list[] = {
        {"aGrad", "Unos gradova", openModal<TfGrad>},
        {"aLekar", "Unos lekara", openModal<TfLekar>},
        {"aKlinike", "Unos klinika", openModal<TfKlinike>},
        {"aNalazi", "Unos vrste nalaza", openModal<TfNalazi>},
        {"aGrupeNalaza", "Unos grupe nalaza", openModal<TfGrupaNalaza>},
        {"aStatus", "Unos statusa", openModal<TfStatus>},
        {"aUputna_DG", "Unos uputnih dijagnoza", openModal<TfUputna_DG>},
        {"aMKB10", "Unos MKB10", openModal<TfMKB10>},
        {"aLekovi", "Unos lekova", openModal<TfLekovi>},
        {"aDijagnostika", "Unos dijagnostika", openModal<TfDijagnostika>},
        {"aKonzilijarni", "Unos konzilijarni", openModal<TfKonzilijarni>},
    };
    auto *group = new QWidget(this);
    group->setObjectName(QStringLiteral("fcButtonGroup"));
    group->setStyleSheet(QStringLiteral(
        "QPushButton { border: 1px solid #6d7f99; border-radius: 10px; color: #1f2d44; font-weight: bold; font-size: 15px;"
        "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f9fc, stop:1 #d6dfeb); }"
        "QPushButton:hover { background: #eef3fa; } QPushButton:pressed { background: #c5d2e3; }"
        "QPushButton:focus { border: 3px solid #2f5fa8; }"));
    auto *column = new QVBoxLayout(group);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(4);
    for (const Entry &entry : list) {
        auto *action = new QAction(QString::fromUtf8(entry.caption), this);
        action->setObjectName(QString::fromLatin1(entry.name));
        const auto open = entry.open;
        connect(action, &QAction::triggered, this, [this, open] { open(this); });
        auto *button = new QPushButton(action->text(), group);
        button->setObjectName(QStringLiteral("btn") + action->objectName().mid(1));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        column->addWidget(button, 1);
        entries << action;
        buttons << button;
    }
    clientLayout()->addWidget(group);
}

void TfKatalog::FormShow()
{
    TcSubMain::FormShow();
    buttons.first()->setFocus();
}

void openCatalogues(QWidget *mainWindow)
{
    auto menu = createForm<TfKatalog>(mainWindow);
    menu->exec();
}

} // namespace velmora
