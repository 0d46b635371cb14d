#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

namespace velmora {

class TfLekoviDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfLekoviDijalog(TfrmGrid *owner);
    void aSaveExecute() override;
};

// The catalogue "Unos lekova".
class TfLekovi : public TcData {
    Q_OBJECT
public:
    explicit TfLekovi(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
