#include "TfNovaKlinika.h"

#include "app/YUDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

TfNovaKlinika::TfNovaKlinika(QWidget *parent)
    : TcMain(parent)
{
    setObjectName(QStringLiteral("fNovaKlinika"));
    setWindowTitle(QStringLiteral("Nova baza - klinika"));
    setPlacement(Placement::DesktopCentre);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(new QLabel(QStringLiteral("Za koju kliniku se vodi ova baza?"), this));
    auto *label = new QLabel(QStringLiteral("&Naziv klinike:"), this);
    edNaziv = new QLineEdit(this);
    edNaziv->setObjectName(QStringLiteral("edNaziv"));
    edNaziv->setMaxLength(50); // KLINIKE.NAZIV_KLINIKE
    edNaziv->setMinimumWidth(260);
    label->setBuddy(edNaziv);
    layout->addWidget(label);
    layout->addWidget(edNaziv);
    chkPoliklinika = new QCheckBox(QStringLiteral("&Poliklinika (ambulantne posete umesto hospitalizacija)"), this);
    chkPoliklinika->setObjectName(QStringLiteral("chkPoliklinika"));
    layout->addWidget(chkPoliklinika);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("&U redu"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    buttons->addButton(QStringLiteral("&Odustani"), QDialogButtonBox::RejectRole)->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TfNovaKlinika::btnOKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    edNaziv->setFocus();
}

QString TfNovaKlinika::clinicName() const
{
    return edNaziv->text().trimmed();
}

bool TfNovaKlinika::polyclinic() const
{
    return chkPoliklinika->isChecked();
}

void TfNovaKlinika::btnOKClick()
{
    if (clinicName().isEmpty()) {
        MessageDialog(QStringLiteral("Unesite naziv klinike."), mtWarning, mbOK);
        edNaziv->setFocus();
        return;
    }
    accept();
}

} // namespace velmora
