#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

namespace velmora {

class TfStatusDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfStatusDijalog(TfrmGrid *owner);
    void aSaveExecute() override;
};

// The catalogue "Unos statusa".
class TfStatus : public TcData {
    Q_OBJECT
public:
    explicit TfStatus(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
