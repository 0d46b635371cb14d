#include "TfPitanjce.h"

#include "app/YUDlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora {

TfPitanjce::TfPitanjce(QWidget *parent)
    : TcMain(parent)
{
    setObjectName(QStringLiteral("fPitanjce"));
    setWindowTitle(QStringLiteral("Inicijalizacija servera"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setPlacement(Placement::DesktopCentre);

    QFont bold = programFont();
    bold.setBold(true);
    QFont plain = programFont();
    plain.setBold(false); // set explicitly, so it is not inherited from the bold groups

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (const char *line : {"Program se startuje po prvi put, potrebna je inicijalizacija servera,",
                             "prvi put, kako bi sve platforme Windows-a (95, 98, 2000, XP. . . )",
                             "ispravno funkcionisale,"}) {
        layout->addWidget(new QLabel(QString::fromUtf8(line), this));
    }
    layout->addSpacing(6);

    auto *serverGroup = new QGroupBox(QStringLiteral("Unesite ime servera :"), this);
    serverGroup->setFont(bold);
    auto *serverLayout = new QVBoxLayout(serverGroup);
    edSerName = new QLineEdit(serverGroup);
    edSerName->setObjectName(QStringLiteral("edSerName"));
    edSerName->setFont(plain);
    serverLayout->addWidget(edSerName);
    layout->addWidget(serverGroup);

    auto *modeGroup = new QGroupBox(QStringLiteral("Način prijave na server :"), this);
    modeGroup->setFont(bold);
    auto *modeLayout = new QVBoxLayout(modeGroup);
    rbSql = new QRadioButton(QStringLiteral("SQL server autorizacija korisnika"), modeGroup);
    rbSql->setObjectName(QStringLiteral("rbSql"));
    rbNT = new QRadioButton(QStringLiteral("Windows NT autorizacija korisnika"), modeGroup);
    rbNT->setObjectName(QStringLiteral("rbNT"));
    for (QRadioButton *button : {rbSql, rbNT}) {
        button->setFont(plain);
        modeLayout->addWidget(button);
    }
    layout->addWidget(modeGroup);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOdustani = new QPushButton(QStringLiteral("Odustani"), this);
    btnOdustani->setObjectName(QStringLiteral("btnOdustani"));
    for (QPushButton *button : {btnOK, btnOdustani}) {
        button->setFont(bold);
        button->setMinimumWidth(90);
        buttons->addWidget(button);
    }
    btnOdustani->setAutoDefault(false);
    layout->addLayout(buttons);

    connect(btnOK, &QPushButton::clicked, this, &TfPitanjce::btnOKClick);
    connect(btnOdustani, &QPushButton::clicked, this, &QDialog::reject);
    edSerName->setFocus();
}

void TfPitanjce::FormShow()
{
    TcMain::FormShow();
    rbSql->setChecked(true);
}

QString TfPitanjce::serverName() const
{
    return edSerName->text();
}

QString TfPitanjce::loginMode() const
{
    return rbSql->isChecked() ? QStringLiteral("SQL") : QStringLiteral("NT");
}

void TfPitanjce::btnOKClick()
{
    // A name of spaces counts as given.
    if (edSerName->text().isEmpty()) {
        PlainInformationBox(QStringLiteral("Neispravan unos - ime servera je obavezno za unos"));
        edSerName->setFocus();
        return;
    }
    accept();
}

} // namespace velmora
