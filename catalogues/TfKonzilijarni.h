#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

namespace velmora {

class TfKonzilijarniDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfKonzilijarniDijalog(TfrmGrid *owner);
    void aSaveExecute() override;
};

// The catalogue "Unos konzilijarnih pregleda".
class TfKonzilijarni : public TcData {
    Q_OBJECT
public:
    explicit TfKonzilijarni(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
