#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

namespace velmora {

class TfGrupaNalazaDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfGrupaNalazaDijalog(TfrmGrid *owner);
    void aSaveExecute() override;
};

// The catalogue "Unos grupe nalaza".
class TfGrupaNalaza : public TcData {
    Q_OBJECT
public:
    explicit TfGrupaNalaza(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
